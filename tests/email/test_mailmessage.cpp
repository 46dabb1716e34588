// The composed message as it arrives at a real SMTP server and is read by
// Python's standard email parser: headers, body, attachment, encodings, and the
// bytes on the wire (CRLF everywhere, sent exactly as composed).
#include "common/TestSupport.h"
#include "email/SmtpTestServer.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "email/unitEmailSend.h"
#include "email/unitMailMessage.h"
#include "email/unitSmtpSender.h"

#include <QDir>
#include <QRegularExpression>
#include <QTimeZone>

namespace {

TrecCompanyData companyFor(int port)
{
    TrecCompanyData company;
    company.strCompName = QStringLiteral("My Company Name");
    company.strCompEmail = QStringLiteral("office@example.com");
    company.strCompEmailHost = QStringLiteral("127.0.0.1");
    company.strCompEmailPort = QString::number(port);
    return company;
}

QString normalLines(QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

QByteArray rawOf(const QJsonObject& message)
{
    return QByteArray::fromBase64(message[QStringLiteral("raw_b64")].toString().toLatin1());
}

// Every line ends in CRLF and none is longer than the wire allows.
void verifyWireLines(const QByteArray& raw)
{
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == '\n') QVERIFY2(i > 0 && raw[i - 1] == '\r', "bare LF");
        if (raw[i] == '\r') QVERIFY2(i + 1 < raw.size() && raw[i + 1] == '\n', "bare CR");
    }
    for (const QByteArray& line : raw.split('\n')) QVERIFY(line.size() <= 999);
    // Header lines keep near the recommended width where they can be folded.
    const QByteArray headers = raw.left(raw.indexOf("\r\n\r\n"));
    for (const QByteArray& line : headers.split('\n')) QVERIFY2(line.size() <= 90, line.constData());
}

QByteArray samplePdf()
{
    QByteArray content = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    for (int i = 0; i < 3000; ++i) content += char(i % 256);
    return content + "\n%%EOF\n";
}

} // namespace

class TestMailMessage : public QObject {
    Q_OBJECT

    std::unique_ptr<SmtpTestServer> m_server;

    QJsonObject sendAndReceive(const TrecCompanyData& company, const TrecEmailData& handOver,
                               const QString& address, const QString& subject, const QString& body)
    {
        const int before = int(m_server->messages().size());
        SendEmail(company, handOver, address, subject, body);
        const auto messages = m_server->messages();
        if (messages.size() != before + 1) return {};
        return messages.last();
    }

private slots:
    void initTestCase()
    {
        m_server = std::make_unique<SmtpTestServer>();
        QVERIFY(m_server->port() > 0);
        QVERIFY(QDir().mkpath(GetTempFolder()));
    }
    void cleanupTestCase() { m_server.reset(); }

    // A document e-mail: multipart/mixed with the preamble, the body first and
    // the PDF second, its bytes exactly as written.
    void documentEmailCarriesThePdf_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("invoice") << "Invoice1001.pdf";
        QTest::newRow("type name with a blank") << "Work Order502.pdf";
        QTest::newRow("non-ASCII file name") << QStringLiteral("Fa\u00E7ade Quote.pdf");
    }
    void documentEmailCarriesThePdf()
    {
        QFETCH(QString, fileName);
        const QString path = GetTempFolder() + '/' + fileName;
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(samplePdf());
        file.close();

        TrecEmailData handOver;
        handOver.strRecipientAddress = QStringLiteral("pat@example.net");
        handOver.strRecipientName = QStringLiteral("Acme Corp");
        handOver.strAttachmentPath = path;
        handOver.blAttach = true;
        const QJsonObject m = sendAndReceive(companyFor(m_server->port()), handOver, handOver.strRecipientAddress,
                                             QStringLiteral("Invoice 1001"),
                                             QStringLiteral("Thank You\nFrom My Company Name"));
        QVERIFY(!m.isEmpty());
        QCOMPARE(m[QStringLiteral("defects")].toArray().size(), 0);
        QCOMPARE(m[QStringLiteral("mail_from")].toString(), QStringLiteral("office@example.com"));
        QCOMPARE(m[QStringLiteral("from_name")].toString(), QStringLiteral("My Company Name"));
        QCOMPARE(m[QStringLiteral("from_address")].toString(), QStringLiteral("office@example.com"));
        QCOMPARE(m[QStringLiteral("to_name")].toString(), QStringLiteral("Acme Corp"));
        QCOMPARE(m[QStringLiteral("to_address")].toString(), QStringLiteral("pat@example.net"));
        QCOMPARE(m[QStringLiteral("subject")].toString(), QStringLiteral("Invoice 1001"));
        QCOMPARE(m[QStringLiteral("mime_version")].toString(), QStringLiteral("1.0"));
        QCOMPARE(m[QStringLiteral("content_type")].toString(), QStringLiteral("multipart/mixed"));
        QCOMPARE(m[QStringLiteral("preamble")].toString().trimmed(),
                 QStringLiteral("This is a multi-part message in MIME format"));

        const QJsonArray parts = m[QStringLiteral("parts")].toArray();
        QCOMPARE(parts.size(), 2);
        const QJsonObject body = parts[0].toObject();
        QCOMPARE(body[QStringLiteral("content_type")].toString(), QStringLiteral("text/plain"));
        QCOMPARE(body[QStringLiteral("transfer_encoding")].toString(), QStringLiteral("7bit"));
        QCOMPARE(normalLines(body[QStringLiteral("text")].toString()), QStringLiteral("Thank You\nFrom My Company Name"));
        const QJsonObject pdf = parts[1].toObject();
        QCOMPARE(pdf[QStringLiteral("content_type")].toString(), QStringLiteral("application/pdf"));
        QCOMPARE(pdf[QStringLiteral("transfer_encoding")].toString(), QStringLiteral("base64"));
        QCOMPARE(pdf[QStringLiteral("disposition")].toString(), QStringLiteral("attachment"));
        QCOMPARE(pdf[QStringLiteral("filename")].toString(), fileName);
        QCOMPARE(QByteArray::fromBase64(pdf[QStringLiteral("payload_b64")].toString().toLatin1()), samplePdf());

        const QByteArray raw = rawOf(m);
        verifyWireLines(raw);
        QVERIFY(raw.contains("\r\nThank You\r\nFrom My Company Name\r\n--"));  // line breaks as typed, in CRLF
        QVERIFY(QRegularExpression(QStringLiteral("^Date: \\w{3}, \\d{1,2} \\w{3} \\d{4} \\d\\d:\\d\\d:\\d\\d [+-]\\d{4}\r$"),
                                   QRegularExpression::MultilineOption)
                    .match(QString::fromLatin1(raw)).hasMatch());
        QVERIFY(m[QStringLiteral("message_id")].toString().contains(QRegularExpression(QStringLiteral("^<[^<>@ ]+@example\\.com>$"))));
    }

    // A customer e-mail: one plain-text body, nothing attached. The company
    // address written with a name in front still gives the bare sender address.
    void customerEmailIsPlainText()
    {
        TrecCompanyData company = companyFor(m_server->port());
        company.strCompEmail = QStringLiteral("Office Mail <office@example.com>");
        TrecEmailData handOver;
        handOver.strRecipientName = QStringLiteral("Jane Doe");
        const QJsonObject m = sendAndReceive(company, handOver,
                                             QStringLiteral("  jane@example.org "), QStringLiteral("Hello"),
                                             QStringLiteral("Line one\n\nLine three"));
        QVERIFY(!m.isEmpty());
        QCOMPARE(m[QStringLiteral("content_type")].toString(), QStringLiteral("text/plain"));
        QCOMPARE(m[QStringLiteral("parts")].toArray().size(), 0);
        QCOMPARE(m[QStringLiteral("mail_from")].toString(), QStringLiteral("office@example.com"));
        QCOMPARE(m[QStringLiteral("from_name")].toString(), QStringLiteral("My Company Name"));
        QCOMPARE(m[QStringLiteral("to_name")].toString(), QStringLiteral("Jane Doe"));
        QCOMPARE(m[QStringLiteral("to_address")].toString(), QStringLiteral("jane@example.org"));
        QCOMPARE(m[QStringLiteral("rcpt_tos")].toArray().at(0).toString(), QStringLiteral("jane@example.org"));
        QCOMPARE(normalLines(m[QStringLiteral("body")].toString()).trimmed(), QStringLiteral("Line one\n\nLine three"));
        verifyWireLines(rawOf(m));
    }

    // Names, subjects and bodies a mail reader must show exactly as typed.
    void textsArriveAsTyped_data()
    {
        QTest::addColumn<QString>("fromName");
        QTest::addColumn<QString>("toName");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("body");
        QTest::newRow("address specials") << "Smith, Jones & Co." << "O'Brien \"Bob\" \\ Sons"
                                          << "Re: 100% done; see <here> (now)" << "a.b\n.\n..leading dots";
        QTest::newRow("non-ASCII") << QStringLiteral("M\u00FCller & S\u00F6hne GmbH")
                                   << QStringLiteral("Zo\u00EB \u00C5ngstr\u00F6m")
                                   << QStringLiteral("Rechnung f\u00FCr J\u00FCrgen \u2013 10 \u20AC")
                                   << QStringLiteral("Gr\u00FC\u00DFe\r\n\u00DCberweisung = bis Freitag \n");
        QTest::newRow("surrogate pairs") << QStringLiteral("Caf\u00E9 \U0001F600 Bakery")
                                         << QStringLiteral("\U0001F33B Garden Ltd")
                                         << QStringLiteral("\U0001F600\U0001F600\U0001F600 Thanks \U0001F600")
                                         << QStringLiteral("Smile \U0001F600");
        const QString longSubject = QStringLiteral("Estimate 1042 for the spring clean-up of the front and back "
                                                   "gardens, hedges and the long fence line");
        QTest::newRow("long subject") << "My Company Name" << "Acme" << longSubject << "ok";
        QTest::newRow("long body line") << "My Company Name" << "Acme" << "Long"
                                        << QString(1200, QLatin1Char('x')) + QStringLiteral("\nend");
        QTest::newRow("text that looks encoded") << "=?UTF-8?B?QUJD?=" << "Acme" << "=?UTF-8?B?QUJD?= is text"
                                                 << "ok";
    }
    void textsArriveAsTyped()
    {
        QFETCH(QString, fromName);
        QFETCH(QString, toName);
        QFETCH(QString, subject);
        QFETCH(QString, body);
        TrecCompanyData company = companyFor(m_server->port());
        company.strCompName = fromName;
        TrecEmailData handOver;
        handOver.strRecipientName = toName;
        const QJsonObject m = sendAndReceive(company, handOver, QStringLiteral("to@example.org"), subject, body);
        QVERIFY(!m.isEmpty());
        QCOMPARE(m[QStringLiteral("defects")].toArray().size(), 0);
        QCOMPARE(m[QStringLiteral("from_name")].toString(), fromName);
        QCOMPARE(m[QStringLiteral("from_address")].toString(), QStringLiteral("office@example.com"));
        QCOMPARE(m[QStringLiteral("to_name")].toString(), toName);
        QCOMPARE(m[QStringLiteral("subject")].toString(), subject);
        QString expectedBody = normalLines(body);
        QString arrived = normalLines(m[QStringLiteral("body")].toString());
        if (arrived.endsWith('\n') && !expectedBody.endsWith('\n')) arrived.chop(1);
        QCOMPARE(arrived, expectedBody);
        verifyWireLines(rawOf(m));
    }

    // The transport hands the composed bytes over unchanged (dot-stuffing is undone
    // by the server), so what is composed is what arrives.
    void messageArrivesByteForByte()
    {
        MailMessage message;
        message.from = {QStringLiteral("My Company Name"), QStringLiteral("office@example.com")};
        message.to = {QStringLiteral("Acme"), QStringLiteral("to@example.org")};
        message.subject = QStringLiteral("Invoice 7");
        message.body = QStringLiteral(".starts with a dot\n..two\nend.");
        message.attachment = MailAttachment{QStringLiteral("Invoice7.pdf"), QStringLiteral("application/pdf"), samplePdf()};
        const QByteArray composed = ComposeMailMessage(message);
        SmtpSettings settings;
        settings.host = QStringLiteral("127.0.0.1");
        settings.port = m_server->port();
        SendSmtpMessage(settings, message.from.address, message.to.address, composed);
        QByteArray raw = rawOf(m_server->messages().last());
        QCOMPARE(raw, composed);
    }

    void mailDateFollowsTheStandardForm_data()
    {
        QTest::addColumn<QDateTime>("dateTime");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("east of UTC") << QDateTime(QDate(2026, 12, 10), QTime(11, 51, 40), QTimeZone(3600))
                                     << QByteArray("Thu, 10 Dec 2026 11:51:40 +0100");
        QTest::newRow("west, half hour") << QDateTime(QDate(2027, 3, 1), QTime(7, 5, 9), QTimeZone(-(3 * 3600 + 1800)))
                                         << QByteArray("Mon, 1 Mar 2027 07:05:09 -0330");
        QTest::newRow("UTC") << QDateTime(QDate(2026, 1, 4), QTime(0, 0, 0), QTimeZone::utc())
                             << QByteArray("Sun, 4 Jan 2026 00:00:00 +0000");
    }
    void mailDateFollowsTheStandardForm()
    {
        QFETCH(QDateTime, dateTime);
        QFETCH(QByteArray, text);
        QCOMPARE(FormatMailDate(dateTime), text);
    }

    void unusableAddressesAndMissingFilesStopTheSend_data()
    {
        QTest::addColumn<QString>("companyEmail");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("attachment");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no company address") << "" << "to@example.org" << ""
                                            << "The company e-mail address \"\" cannot be used as the sender";
        QTest::newRow("recipient with a blank") << "office@example.com" << "to @example.org" << ""
                                                << "The e-mail address \"to @example.org\" is not valid.";
        QTest::newRow("missing attachment") << "office@example.com" << "to@example.org" << "/nonexistent/Invoice9.pdf"
                                            << "The file to attach cannot be read: /nonexistent/Invoice9.pdf";
    }
    void unusableAddressesAndMissingFilesStopTheSend()
    {
        QFETCH(QString, companyEmail);
        QFETCH(QString, address);
        QFETCH(QString, attachment);
        QFETCH(QString, expected);
        TrecCompanyData company = companyFor(m_server->port());
        company.strCompEmail = companyEmail;
        TrecEmailData handOver;
        handOver.strAttachmentPath = attachment;
        handOver.blAttach = !attachment.isEmpty();
        const int before = int(m_server->messages().size());
        try {
            SendEmail(company, handOver, address, QStringLiteral("s"), QStringLiteral("b"));
            QFAIL("no error");
        } catch (const AppError& error) {
            QVERIFY2(error.message().startsWith(expected), qPrintable(error.message()));
        }
        QCOMPARE(int(m_server->messages().size()), before);
    }

    // The domain of an address goes out in its ASCII (IDNA) form; a non-ASCII
    // part before the @ is refused with a message that says so.
    void asciiMailAddress_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("sent");   // empty: refused
        QTest::newRow("plain") << "pat@example.com" << "pat@example.com";
        QTest::newRow("umlaut domain") << QString::fromUtf8("anna@bücher.example") << "anna@xn--bcher-kva.example";
        QTest::newRow("upper-case umlaut domain") << QString::fromUtf8("anna@BÜCHER.example") << "anna@xn--bcher-kva.example";
        QTest::newRow("non-ASCII local part") << QString::fromUtf8("jürgen@example.com") << "";
        QTest::newRow("both") << QString::fromUtf8("jürgen@bücher.example") << "";
    }
    void asciiMailAddress()
    {
        QFETCH(QString, address);
        QFETCH(QString, sent);
        try {
            QCOMPARE(ToAsciiMailAddress(address), sent);
            QVERIFY(!sent.isEmpty());
        } catch (const AppError& error) {
            QVERIFY2(sent.isEmpty(), qPrintable(error.message()));
            QVERIFY(error.message().contains(QStringLiteral("the part before the @")));
            QVERIFY(error.message().contains(address));
        }
    }
};

FENNICK_TEST_MAIN(TestMailMessage)
#include "test_mailmessage.moc"
