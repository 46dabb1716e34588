#include "printing/qpdf/unitPdfA3.h"

#include <QXmlStreamWriter>

// Use the current pointer types of the qpdf API (no transition warnings).
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFEFStreamObjectHelper.hh>
#include <qpdf/QPDFEmbeddedFileDocumentHelper.hh>
#include <qpdf/QPDFFileSpecObjectHelper.hh>
#include <qpdf/QPDFObjectHandle.hh>

namespace {

const QString kRdf = QStringLiteral("http://www.w3.org/1999/02/22-rdf-syntax-ns#");
const QString kDc = QStringLiteral("http://purl.org/dc/elements/1.1/");
const QString kPdf = QStringLiteral("http://ns.adobe.com/pdf/1.3/");
const QString kXmp = QStringLiteral("http://ns.adobe.com/xap/1.0/");
const QString kPdfaId = QStringLiteral("http://www.aiim.org/pdfa/ns/id/");
const QString kPdfaExtension = QStringLiteral("http://www.aiim.org/pdfa/ns/extension/");
const QString kPdfaSchema = QStringLiteral("http://www.aiim.org/pdfa/ns/schema#");
const QString kPdfaProperty = QStringLiteral("http://www.aiim.org/pdfa/ns/property#");
const QString kFx = QStringLiteral("urn:factur-x:pdfa:CrossIndustryDocument:invoice:1p0#");

// "+01:00" / "Z" style offset parts of a local time.
QString OffsetText(const QDateTime& stamp, const QString& separator)
{
    const int seconds = stamp.offsetFromUtc();
    const int minutes = std::abs(seconds) / 60;
    return QStringLiteral("%1%2%3%4%5")
        .arg(seconds < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(separator)
        .arg(minutes % 60, 2, 10, QLatin1Char('0'))
        .arg(separator == QLatin1String("'") ? QStringLiteral("'") : QString());
}

// PDF date: D:20240115103000+01'00'
std::string PdfDate(const QDateTime& stamp)
{
    return (QStringLiteral("D:") + stamp.toString(QStringLiteral("yyyyMMddHHmmss")) +
            OffsetText(stamp, QStringLiteral("'")))
        .toStdString();
}

// XMP date: 2024-01-15T10:30:00+01:00
QString XmpDate(const QDateTime& stamp)
{
    return stamp.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) + OffsetText(stamp, QStringLiteral(":"));
}

void LanguageAlternative(QXmlStreamWriter& xml, const QString& ns, const QString& name, const QString& value)
{
    xml.writeStartElement(ns, name);
    xml.writeStartElement(kRdf, QStringLiteral("Alt"));
    xml.writeStartElement(kRdf, QStringLiteral("li"));
    xml.writeAttribute(QStringLiteral("xml:lang"), QStringLiteral("x-default"));
    xml.writeCharacters(value);
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
}

void ExtensionProperty(QXmlStreamWriter& xml, const QString& name, const QString& description)
{
    xml.writeStartElement(kRdf, QStringLiteral("li"));
    xml.writeAttribute(kRdf, QStringLiteral("parseType"), QStringLiteral("Resource"));
    xml.writeTextElement(kPdfaProperty, QStringLiteral("name"), name);
    xml.writeTextElement(kPdfaProperty, QStringLiteral("valueType"), QStringLiteral("Text"));
    xml.writeTextElement(kPdfaProperty, QStringLiteral("category"), QStringLiteral("external"));
    xml.writeTextElement(kPdfaProperty, QStringLiteral("description"), description);
    xml.writeEndElement();
}

void StartDescription(QXmlStreamWriter& xml)
{
    xml.writeStartElement(kRdf, QStringLiteral("Description"));
    xml.writeAttribute(kRdf, QStringLiteral("about"), QString());
}

} // namespace

QByteArray FacturXMetadata(const PdfDocumentInfo& info, const QDateTime& stamp)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeProcessingInstruction(QStringLiteral("xpacket"),
                                   QStringLiteral("begin=\"%1\" id=\"W5M0MpCehiHzreSzNTczkc9d\"").arg(QChar(0xFEFF)));
    xml.writeNamespace(kRdf, QStringLiteral("rdf"));
    xml.writeNamespace(kDc, QStringLiteral("dc"));
    xml.writeNamespace(kPdf, QStringLiteral("pdf"));
    xml.writeNamespace(kXmp, QStringLiteral("xmp"));
    xml.writeNamespace(kPdfaId, QStringLiteral("pdfaid"));
    xml.writeNamespace(kPdfaExtension, QStringLiteral("pdfaExtension"));
    xml.writeNamespace(kPdfaSchema, QStringLiteral("pdfaSchema"));
    xml.writeNamespace(kPdfaProperty, QStringLiteral("pdfaProperty"));
    xml.writeNamespace(kFx, QStringLiteral("fx"));
    xml.writeNamespace(QStringLiteral("adobe:ns:meta/"), QStringLiteral("x"));
    xml.writeStartElement(QStringLiteral("adobe:ns:meta/"), QStringLiteral("xmpmeta"));
    xml.writeStartElement(kRdf, QStringLiteral("RDF"));

    StartDescription(xml);
    xml.writeTextElement(kPdfaId, QStringLiteral("part"), QStringLiteral("3"));
    xml.writeTextElement(kPdfaId, QStringLiteral("conformance"), QStringLiteral("B"));
    xml.writeEndElement();

    // The document information, the same values as the information dictionary.
    StartDescription(xml);
    LanguageAlternative(xml, kDc, QStringLiteral("title"), info.title);
    xml.writeStartElement(kDc, QStringLiteral("creator"));
    xml.writeStartElement(kRdf, QStringLiteral("Seq"));
    xml.writeTextElement(kRdf, QStringLiteral("li"), info.author);
    xml.writeEndElement();
    xml.writeEndElement();
    LanguageAlternative(xml, kDc, QStringLiteral("description"), info.subject);
    xml.writeTextElement(kPdf, QStringLiteral("Keywords"), info.keywords);
    xml.writeTextElement(kPdf, QStringLiteral("Producer"), info.producer);
    xml.writeTextElement(kXmp, QStringLiteral("CreatorTool"), info.creator);
    xml.writeTextElement(kXmp, QStringLiteral("CreateDate"), XmpDate(stamp));
    xml.writeTextElement(kXmp, QStringLiteral("ModifyDate"), XmpDate(stamp));
    xml.writeTextElement(kXmp, QStringLiteral("MetadataDate"), XmpDate(stamp));
    xml.writeEndElement();

    // The Factur-X schema, declared for PDF/A as an extension schema.
    StartDescription(xml);
    xml.writeStartElement(kPdfaExtension, QStringLiteral("schemas"));
    xml.writeStartElement(kRdf, QStringLiteral("Bag"));
    xml.writeStartElement(kRdf, QStringLiteral("li"));
    xml.writeAttribute(kRdf, QStringLiteral("parseType"), QStringLiteral("Resource"));
    xml.writeTextElement(kPdfaSchema, QStringLiteral("schema"), QStringLiteral("Factur-X PDFA Extension Schema"));
    xml.writeTextElement(kPdfaSchema, QStringLiteral("namespaceURI"), kFx);
    xml.writeTextElement(kPdfaSchema, QStringLiteral("prefix"), QStringLiteral("fx"));
    xml.writeStartElement(kPdfaSchema, QStringLiteral("property"));
    xml.writeStartElement(kRdf, QStringLiteral("Seq"));
    ExtensionProperty(xml, QStringLiteral("DocumentFileName"), QStringLiteral("name of the embedded XML invoice file"));
    ExtensionProperty(xml, QStringLiteral("DocumentType"), QStringLiteral("INVOICE"));
    ExtensionProperty(xml, QStringLiteral("Version"), QStringLiteral("The actual version of the Factur-X XML schema"));
    ExtensionProperty(xml, QStringLiteral("ConformanceLevel"),
                      QStringLiteral("The conformance level of the embedded Factur-X data"));
    xml.writeEndElement();   // Seq
    xml.writeEndElement();   // property
    xml.writeEndElement();   // li
    xml.writeEndElement();   // Bag
    xml.writeEndElement();   // schemas
    xml.writeEndElement();

    StartDescription(xml);
    xml.writeTextElement(kFx, QStringLiteral("DocumentType"), QStringLiteral("INVOICE"));
    xml.writeTextElement(kFx, QStringLiteral("DocumentFileName"), QLatin1String(kFacturXFileName));
    xml.writeTextElement(kFx, QStringLiteral("Version"), QStringLiteral("1.0"));
    xml.writeTextElement(kFx, QStringLiteral("ConformanceLevel"), QStringLiteral("EN 16931"));
    xml.writeEndElement();

    xml.writeEndElement();   // RDF
    xml.writeEndElement();   // xmpmeta
    xml.writeProcessingInstruction(QStringLiteral("xpacket"), QStringLiteral("end=\"w\""));
    return out;
}

void MakeFacturXPdf(QPDF& pdf, const PdfDocumentInfo& info, const QByteArray& xml, const QDateTime& stamp)
{
    const std::string date = PdfDate(stamp);
    QPDFObjectHandle information = pdf.getTrailer().getKey("/Info");
    information.replaceKey("/CreationDate", QPDFObjectHandle::newString(date));
    information.replaceKey("/ModDate", QPDFObjectHandle::newString(date));

    QPDFObjectHandle root = pdf.getRoot();
    const QByteArray metadata = FacturXMetadata(info, stamp);
    QPDFObjectHandle metadataStream =
        QPDFObjectHandle::newStream(&pdf, std::string(metadata.constData(), std::size_t(metadata.size())));
    metadataStream.getDict().replaceKey("/Type", QPDFObjectHandle::newName("/Metadata"));
    metadataStream.getDict().replaceKey("/Subtype", QPDFObjectHandle::newName("/XML"));
    root.replaceKey("/Metadata", metadataStream);

    QPDFEFStreamObjectHelper file =
        QPDFEFStreamObjectHelper::createEFStream(pdf, std::string(xml.constData(), std::size_t(xml.size())));
    file.setSubtype("text/xml").setCreationDate(date).setModDate(date);
    QPDFFileSpecObjectHelper fileSpec = QPDFFileSpecObjectHelper::createFileSpec(pdf, kFacturXFileName, file);
    fileSpec.setDescription("Factur-X invoice (EN 16931)");
    fileSpec.getObjectHandle().replaceKey("/AFRelationship", QPDFObjectHandle::newName("/Alternative"));
    QPDFEmbeddedFileDocumentHelper(pdf).replaceEmbeddedFile(kFacturXFileName, fileSpec);
    QPDFObjectHandle associated = QPDFObjectHandle::newArray();
    associated.appendItem(fileSpec.getObjectHandle());
    root.replaceKey("/AF", associated);
}
