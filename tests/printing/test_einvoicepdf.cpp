// An e-invoice PDF read back with qpdf and poppler: a PDF/A-3 whose attachment
// factur-x.xml is the XML given, associated with the document, with the
// Factur-X entries in its XMP metadata, every font embedded, and pages that
// look exactly as the plain PDF of the same document.
#include "common/PdfAttachments.h"
#include "common/TestDatabase.h"
#include "common/TestSupport.h"
#include "printing/PdfText.h"

#include "app/unitAppInfo.h"
#include "app/unitModeValues.h"
#include "company/unitCompanyData.h"
#include "documents/unitInvoiceHolders.h"
#include "printing/unitModPrintData.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>

namespace {

// Not checked for its meaning here: the print module carries any XML it is given.
const QByteArray kXml = QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<invoice>M\xc3\xbcller &amp; S\xc3\xb6hne</invoice>\n");

void PrepareInvoice()
{
    recCompanyData.strCompName = QString::fromUtf8("M\u00fcller & S\u00f6hne");
    recCompanyData.strCompAddress = QStringLiteral("Hauptstr. 5");
    QImage logo(400, 100, QImage::Format_RGB32);
    logo.fill(QColor(30, 80, 150));
    QVERIFY(logo.save(GetLogoPath(), "JPEG"));
    intPrintJob = pjDocument;
    intCurrentInvNumber = 1001;
    blManualInvoice = false;
    recPrintData = {};
    recPrintData.strInvType = QStringLiteral("Invoice");
    recPrintData.strInvDate = QStringLiteral("3/15/2024");
    recPrintData.strCustCompany = QStringLiteral("Acme GmbH");
    recPrintData.strCustName = QStringLiteral("Doe, Jane");
    recPrintData.strDepositPaidHdng = QStringLiteral("Amount Paid");
    recPrintData.strTotalHdng = QStringLiteral("Invoice Total");
    recPrintData.strSubTotal = QStringLiteral("$200.00");
    recPrintData.strTotal = QStringLiteral("$202.46");
    recPrintData.blSignatureLine = true;
    ListViewPriceItems = {{QStringLiteral("Window cleaning"), QStringLiteral("2"), QStringLiteral("-1"),
                           QStringLiteral("0"), QStringLiteral("100"), QStringLiteral("0")}};
    txtInvoiceNotes = QStringLiteral("Gate code 1234");
}

QJsonObject Dictionary(const QJsonObject& objects, const QJsonValue& value)
{
    const QJsonObject object = Resolve(objects, value).toObject();
    return object.contains(QStringLiteral("stream"))
               ? object.value(QStringLiteral("stream")).toObject().value(QStringLiteral("dict")).toObject()
               : object;
}

} // namespace

class TestEInvoicePdf : public QObject {
    Q_OBJECT

    QString m_plain;
    QString m_einvoice;

private slots:
    void initTestCase()
    {
        CreateTestDatabase();
        PrepareInvoice();
        m_plain = QDir(GetTempFolder()).filePath(QStringLiteral("plain.pdf"));
        m_einvoice = QDir(GetTempFolder()).filePath(QStringLiteral("Invoice1001.pdf"));
        modPrintData.pCreatePDFFile(m_plain);
        modPrintData.pCreatePDFFile(m_einvoice, kXml);
    }

    void attachmentIsTheXml()
    {
        QCOMPARE(AttachmentNames(m_einvoice), QStringList{"factur-x.xml"});
        QCOMPARE(ShowAttachment(m_einvoice, "factur-x.xml"), kXml);
        QVERIFY(AttachmentNames(m_plain).isEmpty());
    }

    void attachmentIsAssociatedWithTheDocument()
    {
        const QJsonObject objects = PdfObjects(m_einvoice);
        const QJsonObject trailer = objects.value("trailer").toObject();
        const QJsonObject root = Dictionary(objects, trailer.value("/Root"));
        const QJsonArray associated = root.value("/AF").toArray();
        QCOMPARE(associated.size(), 1);
        const QJsonObject fileSpec = Dictionary(objects, associated.at(0));
        QCOMPARE(fileSpec.value("/AFRelationship").toString(), QStringLiteral("/Alternative"));
        QCOMPARE(fileSpec.value("/F").toString(), QStringLiteral("u:factur-x.xml"));
        QCOMPARE(fileSpec.value("/UF").toString(), QStringLiteral("u:factur-x.xml"));
        const QJsonObject stream = Dictionary(objects, fileSpec.value("/EF").toObject().value("/F"));
        QCOMPARE(stream.value("/Subtype").toString(), QStringLiteral("/text/xml"));
        QVERIFY(stream.value("/Params").toObject().contains("/ModDate"));

        // Qt's sRGB output intent, and the XMP stream left readable.
        const QJsonArray intents = root.value("/OutputIntents").toArray();
        QCOMPARE(intents.size(), 1);
        const QJsonObject intent = Dictionary(objects, intents.at(0));
        QCOMPARE(intent.value("/S").toString(), QStringLiteral("/GTS_PDFA1"));
        QVERIFY(intent.contains("/DestOutputProfile"));
        const QJsonObject metadata = Dictionary(objects, root.value("/Metadata"));
        QCOMPARE(metadata.value("/Subtype").toString(), QStringLiteral("/XML"));
        QVERIFY(!metadata.contains("/Filter"));
    }

    void metadataNamesPdfA3AndFacturX()
    {
        const QString xmp = XmpMetadata(m_einvoice);
        for (const char* entry : {"<pdfaid:part>3</pdfaid:part>", "<pdfaid:conformance>B</pdfaid:conformance>",
                                  "<fx:DocumentType>INVOICE</fx:DocumentType>",
                                  "<fx:DocumentFileName>factur-x.xml</fx:DocumentFileName>",
                                  "<fx:Version>1.0</fx:Version>",
                                  "<fx:ConformanceLevel>EN 16931</fx:ConformanceLevel>",
                                  "<pdfaSchema:namespaceURI>urn:factur-x:pdfa:CrossIndustryDocument:invoice:1p0#</pdfaSchema:namespaceURI>",
                                  "<rdf:li xml:lang=\"x-default\">Invoice 1001</rdf:li>"})
            QVERIFY2(xmp.contains(QString::fromUtf8(entry)), entry);
        QVERIFY(xmp.contains(QString::fromUtf8("<pdf:Producer>M\u00fcller &amp; S\u00f6hne</pdf:Producer>")));
        QVERIFY(XmpMetadata(m_plain).isEmpty());

        // The document information stays as it was, and says the same as the XMP.
        const QMap<QString, QString> info = ReadPdfInfo(m_einvoice);
        QCOMPARE(info.value("Title"), QStringLiteral("Invoice 1001"));
        QCOMPARE(info.value("Author"), recCompanyData.strCompName);
        QCOMPARE(info.value("Subject"), QStringLiteral("Invoice"));
        QCOMPARE(info.value("PDF version"), QStringLiteral("1.7"));
        const QJsonObject objects = PdfObjects(m_einvoice);
        const QJsonObject information = Dictionary(objects, objects.value("trailer").toObject().value("/Info"));
        const QString created = information.value("/CreationDate").toString();   // "u:D:20240315103000+01'00'"
        QVERIFY2(created.startsWith("u:D:") || created.startsWith("b:"), qPrintable(created));
        const QString stamp = created.mid(created.indexOf("D:") + 2, 14);
        const QString xmpStamp = QStringLiteral("%1-%2-%3T%4:%5:%6")
                                     .arg(stamp.mid(0, 4), stamp.mid(4, 2), stamp.mid(6, 2), stamp.mid(8, 2),
                                          stamp.mid(10, 2), stamp.mid(12, 2));
        QVERIFY2(xmp.contains("<xmp:CreateDate>" + xmpStamp), qPrintable(xmpStamp));
        QCOMPARE(information.value("/ModDate").toString(), created);
    }

    void fontsAreEmbedded()
    {
        QCOMPARE(FontsNotEmbedded(m_einvoice), QStringList());
    }

    void pagesLookAsBefore()
    {
        const QList<PdfPageWords> plain = ReadPdfWords(m_plain);
        const QList<PdfPageWords> einvoice = ReadPdfWords(m_einvoice);
        QCOMPARE(einvoice.size(), plain.size());
        for (int page = 0; page < plain.size(); ++page) {
            QCOMPARE(einvoice[page].size(), plain[page].size());
            for (int word = 0; word < plain[page].size(); ++word) {
                const PdfWord& a = plain[page][word];
                const PdfWord& b = einvoice[page][word];
                QCOMPARE(b.text, a.text);
                QVERIFY(qAbs(b.xMin - a.xMin) < 0.01 && qAbs(b.yMin - a.yMin) < 0.01);
            }
        }
    }
};

FENNICK_TEST_MAIN(TestEInvoicePdf)
#include "test_einvoicepdf.moc"
