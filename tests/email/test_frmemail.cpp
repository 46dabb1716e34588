// The e-mail screen driven through its widgets: the hand-over writers, what the
// boxes start with, the send rule, and the close sequence after a cancel, a send
// through a real SMTP server and a failed send.
#include "common/TestSupport.h"
#include "email/SmtpTestServer.h"

#include "app/unitAppInfo.h"
#include "app/unitDispatch.h"
#include "app/unitLimitedEdit.h"
#include "company/unitCompanyData.h"
#include "email/unitEmailData.h"
#include "email/unitfrmEmail.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace {

QStringList filesUnder(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) files << it.next();
    return files;
}

QString writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(content);
    return path;
}

bool handOverIsEmpty()
{
    return recEmailData.strRecipientAddress.isEmpty() && recEmailData.strRecipientName.isEmpty()
        && recEmailData.strSubject.isEmpty() && recEmailData.strAttachmentPath.isEmpty() && !recEmailData.blAttach;
}

template <typename T>
T* child(QDialog& dialog, const char* name)
{
    return dialog.findChild<T*>(QLatin1String(name));
}

} // namespace

class TestFrmEmail : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(QDir().mkpath(GetTempFolder()));
        ClearEmailData();
        recCompanyData = TrecCompanyData{};
        recCompanyData.strCompName = QStringLiteral("My Company Name");
        recCompanyData.strCompEmail = QStringLiteral("office@example.com");
        recCompanyData.strCompEmailHost = QStringLiteral("127.0.0.1");
        recCompanyData.blCompEmailSubjectInvNameNum = true;
        recCompanyData.strCompEmailSubject = QStringLiteral("Prefilled subject");
        recCompanyData.strCompEmailBody = QStringLiteral("Thank You\r\nFrom My Company Name");
    }

    void documentWriterFillsTheHandOver_data()
    {
        QTest::addColumn<QString>("company");
        QTest::addColumn<bool>("subjectFromDocument");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("subject");
        QTest::newRow("company, subject on") << "Acme Corp" << true << "Acme Corp" << "Invoice 1001";
        QTest::newRow("no company, subject off") << "" << false << "Pat Jones" << "";
    }
    void documentWriterFillsTheHandOver()
    {
        QFETCH(QString, company);
        QFETCH(bool, subjectFromDocument);
        QFETCH(QString, name);
        QFETCH(QString, subject);
        const QString path = EmailAttachmentPath(QStringLiteral("Invoice"), 1001);
        SetEmailDataForDocument(QStringLiteral("pat@example.net"), company, QStringLiteral("Pat Jones"), path,
                                QStringLiteral("Invoice 1001"), subjectFromDocument);
        QCOMPARE(recEmailData.strRecipientAddress, QStringLiteral("pat@example.net"));
        QCOMPARE(recEmailData.strRecipientName, name);
        QCOMPARE(recEmailData.strSubject, subject);
        QCOMPARE(recEmailData.strAttachmentPath, path);
        QVERIFY(recEmailData.blAttach);
    }

    void customerWriterFillsTheHandOver_data()
    {
        QTest::addColumn<QString>("company");
        QTest::addColumn<QString>("name");
        QTest::newRow("company") << "Acme Corp" << "Acme Corp";
        QTest::newRow("no company") << "" << "Pat Jones";
    }
    void customerWriterFillsTheHandOver()
    {
        QFETCH(QString, company);
        QFETCH(QString, name);
        // Left over from an earlier document hand-over: the customer one clears it.
        SetEmailDataForDocument(QStringLiteral("x@example.com"), QString(), QStringLiteral("X"),
                                QStringLiteral("/tmp/x.pdf"), QStringLiteral("Estimate 5"), true);
        SetEmailDataForCustomer(QStringLiteral("pat@example.net"), company, QStringLiteral("Pat"),
                                QStringLiteral("Jones"));
        QCOMPARE(recEmailData.strRecipientAddress, QStringLiteral("pat@example.net"));
        QCOMPARE(recEmailData.strRecipientName, name);
        QVERIFY(recEmailData.strSubject.isEmpty());
        QVERIFY(recEmailData.strAttachmentPath.isEmpty());
        QVERIFY(!recEmailData.blAttach);
    }

    void attachmentPathJoinsTypeNameAndNumber()
    {
        QCOMPARE(EmailAttachmentPath(QStringLiteral("Work Order"), 502), GetTempFolder() + "/Work Order502.pdf");
    }

    // What the boxes start with: the subject from the document only when the
    // company setting says so; from a customer the subject box then starts empty
    // and "Send Email" stays disabled.
    void screenStartsFromTheHandOver_data()
    {
        QTest::addColumn<bool>("subjectFromDocument");
        QTest::addColumn<QString>("handedSubject");
        QTest::addColumn<QString>("shownSubject");
        QTest::addColumn<bool>("sendEnabled");
        QTest::newRow("document, subject from document") << true << "Invoice 1001" << "Invoice 1001" << true;
        QTest::newRow("document, prefilled subject") << false << "Invoice 1001" << "Prefilled subject" << true;
        QTest::newRow("customer, subject from document") << true << "" << "" << false;
    }
    void screenStartsFromTheHandOver()
    {
        QFETCH(bool, subjectFromDocument);
        QFETCH(QString, handedSubject);
        QFETCH(QString, shownSubject);
        QFETCH(bool, sendEnabled);
        recCompanyData.blCompEmailSubjectInvNameNum = subjectFromDocument;
        recEmailData.strRecipientAddress = QStringLiteral("pat@example.net");
        recEmailData.strSubject = handedSubject;

        TfrmEmail screen;
        QCOMPARE(screen.windowTitle(), QStringLiteral("Email Form"));
        auto* address = child<QLineEdit>(screen, "txtEmailAddress");
        auto* subject = child<QLineEdit>(screen, "txtEmailSubject");
        auto* body = child<QPlainTextEdit>(screen, "txtEmailBody");
        auto* send = child<QPushButton>(screen, "btnSendEmail");
        auto* cancel = child<QPushButton>(screen, "btnCancelEmail");
        QVERIFY(address && subject && body && send && cancel);
        QCOMPARE(address->text(), QStringLiteral("pat@example.net"));
        QCOMPARE(subject->text(), shownSubject);
        QCOMPARE(body->toPlainText(), QStringLiteral("Thank You\nFrom My Company Name"));
        QCOMPARE(send->isEnabled(), sendEnabled);

        QCOMPARE(TypedLimit(address), 100);
        QCOMPARE(TypedLimit(subject), 100);
        QCOMPARE(send->text(), QStringLiteral("Send Email"));
        QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
        QCOMPARE(address->toolTip(), QStringLiteral("Send to Email address"));
        QCOMPARE(subject->toolTip(), QStringLiteral("Subject line of the email"));
        QCOMPARE(body->toolTip(), QStringLiteral("Body or content of the email"));
        QCOMPARE(send->toolTip(), QStringLiteral("Send the email"));
        QCOMPARE(cancel->toolTip(), QStringLiteral("Cancel the email"));
    }

    // "Send Email" is enabled exactly when all three boxes hold text.
    void sendNeedsAllThreeBoxes()
    {
        recEmailData.strRecipientAddress = QStringLiteral("pat@example.net");
        recEmailData.strSubject = QStringLiteral("Invoice 1001");
        TfrmEmail screen;
        auto* address = child<QLineEdit>(screen, "txtEmailAddress");
        auto* subject = child<QLineEdit>(screen, "txtEmailSubject");
        auto* body = child<QPlainTextEdit>(screen, "txtEmailBody");
        auto* send = child<QPushButton>(screen, "btnSendEmail");
        QVERIFY(send->isEnabled());

        address->clear();
        QVERIFY(!send->isEnabled());
        QTest::keyClicks(address, QStringLiteral("a@b.c"));
        QVERIFY(send->isEnabled());
        subject->clear();
        QVERIFY(!send->isEnabled());
        QTest::keyClicks(subject, QStringLiteral("S"));
        QVERIFY(send->isEnabled());
        body->clear();
        QVERIFY(!send->isEnabled());
        QTest::keyClicks(body, QStringLiteral("B"));
        QVERIFY(send->isEnabled());
    }

    // Cancel sends nothing, empties the hand-over and deletes every file below the
    // temp folder, the PDF written for the e-mail included.
    void cancelEmptiesHandOverAndTempFolder()
    {
        SmtpTestServer server;
        QVERIFY(server.port() > 0);
        recCompanyData.strCompEmailPort = QString::number(server.port());
        const QString pdf = writeFile(EmailAttachmentPath(QStringLiteral("Invoice"), 1001), "%PDF-1.4");
        writeFile(GetTempFolder() + "/older/leftover.txt", "x");
        SetEmailDataForDocument(QStringLiteral("pat@example.net"), QStringLiteral("Acme"), QString(), pdf,
                                QStringLiteral("Invoice 1001"), true);

        ScriptedMessages messages;
        ScopedModalRunner runner([](QDialog& dialog) {
            child<QPushButton>(dialog, "btnCancelEmail")->click();
            return dialog.result();
        });
        OpenEmail();

        QVERIFY(handOverIsEmpty());
        QCOMPARE(filesUnder(GetTempFolder()), QStringList());
        QVERIFY(QDir(GetTempFolder()).exists());
        QVERIFY(server.messages().isEmpty());
        QVERIFY(messages.shown().isEmpty());
    }

    // A document e-mail from the screen: while it travels the window keeps
    // painting with a busy cursor and cannot be changed or closed; afterwards the
    // screen has closed, no message was shown, and the temp folder is empty.
    void sendFromTheScreen()
    {
        SmtpTestServer server({"--delay", "1"});
        QVERIFY(server.port() > 0);
        recCompanyData.strCompEmailPort = QString::number(server.port());
        const QByteArray pdfBytes = "%PDF-1.4\n\x01\x02\xFF binary\n%%EOF\n";
        const QString pdf = writeFile(EmailAttachmentPath(QStringLiteral("Work Order"), 502), pdfBytes);
        SetEmailDataForDocument(QStringLiteral("pat@example.net"), QString(), QStringLiteral("Pat Jones"), pdf,
                                QStringLiteral("Work Order 502"), true);

        ScriptedMessages messages;
        bool sawBusyWindow = false;
        bool stayedOpen = false;
        bool closedAfterwards = false;
        ScopedModalRunner runner([&](QDialog& dialog) {
            dialog.show();
            auto* send = child<QPushButton>(dialog, "btnSendEmail");
            auto* cancel = child<QPushButton>(dialog, "btnCancelEmail");
            QTest::keyClicks(child<QLineEdit>(dialog, "txtEmailSubject"), QStringLiteral(" (revised)"));
            QTimer::singleShot(300, [&] {
                const QCursor* cursor = QApplication::overrideCursor();
                sawBusyWindow = cursor && cursor->shape() == Qt::WaitCursor && !send->isEnabled()
                             && cancel->isEnabled() && child<QLineEdit>(dialog, "txtEmailAddress")->isReadOnly();
                dialog.close();
                dialog.reject();
                stayedOpen = dialog.isVisible();
            });
            send->click();
            closedAfterwards = !dialog.isVisible();
            return dialog.result();
        });
        OpenEmail();

        QVERIFY(sawBusyWindow);
        QVERIFY(stayedOpen);
        QVERIFY(closedAfterwards);
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY2(messages.shown().isEmpty(), qPrintable(messages.texts().join('|')));
        const auto received = server.messages();
        QCOMPARE(received.size(), 1);
        QCOMPARE(received[0]["to_name"].toString(), QStringLiteral("Pat Jones"));
        QCOMPARE(received[0]["subject"].toString(), QStringLiteral("Work Order 502 (revised)"));
        const QJsonArray parts = received[0]["parts"].toArray();
        QCOMPARE(parts.size(), 2);
        QCOMPARE(parts[1].toObject()["filename"].toString(), QStringLiteral("Work Order502.pdf"));
        QCOMPARE(QByteArray::fromBase64(parts[1].toObject()["payload_b64"].toString().toLatin1()), pdfBytes);
        QVERIFY(handOverIsEmpty());
        QCOMPARE(filesUnder(GetTempFolder()), QStringList());
    }

    // A failed send leaves the screen open with everything typed and the
    // attachment, so the user can try again; closing it afterwards empties the
    // hand-over and the temp folder as always.
    void failedSendKeepsTheEmailForAnotherTry()
    {
        const int port = SmtpTestServer::UnusedPort();
        recCompanyData.strCompEmailPort = QString::number(port);
        const QString pdf = writeFile(EmailAttachmentPath(QStringLiteral("Invoice"), 7), "%PDF-1.4");
        SetEmailDataForDocument(QStringLiteral("pat@example.net"), QStringLiteral("Acme"), QString(), pdf,
                                QStringLiteral("Invoice 7"), true);

        ScriptedMessages messages;
        bool stayedOpen = false;
        QStringList boxesBefore;
        QStringList boxesAfterFailure;
        bool attachmentKept = false;
        bool closedByCancel = false;
        ScopedModalRunner runner([&](QDialog& dialog) {
            dialog.show();
            QTest::keyClicks(child<QLineEdit>(dialog, "txtEmailSubject"), QStringLiteral(" (typed)"));
            boxesBefore = {child<QLineEdit>(dialog, "txtEmailAddress")->text(),
                           child<QLineEdit>(dialog, "txtEmailSubject")->text(),
                           child<QPlainTextEdit>(dialog, "txtEmailBody")->toPlainText()};
            child<QPushButton>(dialog, "btnSendEmail")->click();
            stayedOpen = dialog.isVisible();
            boxesAfterFailure = {child<QLineEdit>(dialog, "txtEmailAddress")->text(),
                                 child<QLineEdit>(dialog, "txtEmailSubject")->text(),
                                 child<QPlainTextEdit>(dialog, "txtEmailBody")->toPlainText()};
            attachmentKept = QFile::exists(pdf) && recEmailData.strAttachmentPath == pdf && recEmailData.blAttach;
            child<QPushButton>(dialog, "btnCancelEmail")->click();
            closedByCancel = !dialog.isVisible();
            return dialog.result();
        });
        OpenEmail();

        QVERIFY(stayedOpen);
        QCOMPARE(boxesBefore.value(1), QStringLiteral("Invoice 7 (typed)"));
        QCOMPARE(boxesAfterFailure, boxesBefore);
        QVERIFY(attachmentKept);
        QVERIFY(closedByCancel);
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown()[0].kind, MessageKind::Error);
        QCOMPARE(messages.shown()[0].text,
                 QStringLiteral("Could not connect to the mail server 127.0.0.1 (port %1): the server refused the "
                                "connection or cannot be reached.")
                     .arg(port));
        QVERIFY(handOverIsEmpty());
        QCOMPARE(filesUnder(GetTempFolder()), QStringList());
    }

    // "Cancel" during a send to a server that never answers stops the send
    // within a second; nothing is reported and the screen stays open.
    void cancelStopsASendInProgress()
    {
        SmtpTestServer server({"--silent"});
        QVERIFY(server.port() > 0);
        recCompanyData.strCompEmailPort = QString::number(server.port());
        SetEmailDataForDocument(QStringLiteral("pat@example.net"), QStringLiteral("Acme"), QString(), QString(),
                                QStringLiteral("Invoice 8"), true);

        ScriptedMessages messages;
        qint64 stoppedAfterMs = -1;
        bool stayedOpen = false;
        ScopedModalRunner runner([&](QDialog& dialog) {
            dialog.show();
            auto* cancel = child<QPushButton>(dialog, "btnCancelEmail");
            QElapsedTimer sinceCancel;
            QTimer::singleShot(500, [&] {
                sinceCancel.start();
                cancel->click();
            });
            child<QPushButton>(dialog, "btnSendEmail")->click();
            stoppedAfterMs = sinceCancel.isValid() ? sinceCancel.elapsed() : -1;
            stayedOpen = dialog.isVisible();
            QTest::keyClicks(child<QLineEdit>(dialog, "txtEmailSubject"), QStringLiteral("!"));   // editable again
            stayedOpen = stayedOpen && child<QLineEdit>(dialog, "txtEmailSubject")->text() == QStringLiteral("Invoice 8!");
            cancel->click();
            return dialog.result();
        });
        OpenEmail();

        QVERIFY2(stoppedAfterMs >= 0 && stoppedAfterMs < 1000, qPrintable(QString::number(stoppedAfterMs)));
        QVERIFY(stayedOpen);
        QVERIFY2(messages.shown().isEmpty(), qPrintable(messages.texts().join('|')));
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(handOverIsEmpty());
    }

    // "Cancel" pressed once the whole message has gone out cannot take it back:
    // the screen waits for the server's answer, says the e-mail was sent and
    // closes, so nobody sends it a second time.
    void cancelAfterTheMessageEndReportsTheSend()
    {
        SmtpTestServer server({"--delay", "1.5"});
        QVERIFY(server.port() > 0);
        recCompanyData.strCompEmailPort = QString::number(server.port());
        SetEmailDataForDocument(QStringLiteral("pat@example.net"), QStringLiteral("Acme"), QString(), QString(),
                                QStringLiteral("Invoice 9"), true);

        ScriptedMessages messages;
        bool cancelPressed = false;
        bool closedAfterwards = false;
        ScopedModalRunner runner([&](QDialog& dialog) {
            dialog.show();
            auto* cancel = child<QPushButton>(dialog, "btnCancelEmail");
            QTimer watch;
            QObject::connect(&watch, &QTimer::timeout, [&] {
                if (server.events(QStringLiteral("data_end")).isEmpty()) return;
                watch.stop();
                cancel->click();
                cancelPressed = true;
            });
            watch.start(20);
            child<QPushButton>(dialog, "btnSendEmail")->click();
            closedAfterwards = !dialog.isVisible();
            return dialog.result();
        });
        OpenEmail();

        QVERIFY(cancelPressed);
        QCOMPARE(server.messages().size(), 1);
        QVERIFY(closedAfterwards);
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown()[0].kind, MessageKind::Information);
        QCOMPARE(messages.shown()[0].text, QStringLiteral("The e-mail was sent: the mail server had already received "
                                                          "the whole message when Cancel was pressed."));
        QVERIFY(handOverIsEmpty());
    }

    // Addresses with non-ASCII letters: the domain goes out in its ASCII form;
    // a non-ASCII part before the @ is refused before anything connects.
    void internationalAddresses()
    {
        SmtpTestServer server;
        QVERIFY(server.port() > 0);
        recCompanyData.strCompEmailPort = QString::number(server.port());
        recCompanyData.strCompEmail = QString::fromUtf8("office@bücher.example");
        SetEmailDataForDocument(QString::fromUtf8("pat@münchen.example"), QStringLiteral("Acme"), QString(), QString(),
                                QStringLiteral("Invoice 9"), true);
        ScriptedMessages messages;
        ScopedModalRunner runner([](QDialog& dialog) {
            dialog.show();
            child<QPushButton>(dialog, "btnSendEmail")->click();
            return dialog.result();
        });
        OpenEmail();
        QVERIFY2(messages.shown().isEmpty(), qPrintable(messages.texts().join('|')));
        const auto received = server.messages();
        QCOMPARE(received.size(), 1);
        QCOMPARE(received[0]["rcpt_tos"].toArray().first().toString(), QStringLiteral("pat@xn--mnchen-3ya.example"));
        QCOMPARE(received[0]["mail_from"].toString(), QStringLiteral("office@xn--bcher-kva.example"));

        SetEmailDataForDocument(QString::fromUtf8("jürgen@example.com"), QStringLiteral("Acme"), QString(), QString(),
                                QStringLiteral("Invoice 10"), true);
        ScopedModalRunner second([](QDialog& dialog) {
            dialog.show();
            child<QPushButton>(dialog, "btnSendEmail")->click();
            child<QPushButton>(dialog, "btnCancelEmail")->click();
            return dialog.result();
        });
        OpenEmail();
        QCOMPARE(messages.texts(),
                 QStringList{QString::fromUtf8("The e-mail address \"jürgen@example.com\" cannot be used: the part before "
                                               "the @ holds letters outside plain ASCII, which mail servers do not "
                                               "reliably accept.")});
        QCOMPARE(server.messages().size(), 1);   // nothing more reached the server
    }
};

FENNICK_TEST_MAIN(TestFrmEmail)
#include "test_frmemail.moc"
