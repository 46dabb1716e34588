// The SMTP transport against a real server on 127.0.0.1: which login is used,
// what each kind of failure says, how fast a silent server gives up, and that
// the calling thread's event loop keeps turning while a message travels.
#include "common/TestSupport.h"
#include "email/SmtpTestServer.h"

#include "app/AppError.h"
#include "email/unitSmtpSender.h"

#include <QElapsedTimer>
#include <QSysInfo>
#include <QTimer>

#include <atomic>

namespace {

const QByteArray kMessage = "From: a@example.com\r\nTo: b@example.com\r\nSubject: t\r\n\r\nHello\r\n";

SmtpSettings localSettings(int port, const QString& login = QString(), int timeoutSeconds = 10)
{
    SmtpSettings settings;
    settings.host = QStringLiteral("127.0.0.1");
    settings.port = port;
    settings.login = login;
    settings.password = QStringLiteral("secret");
    settings.timeoutSeconds = timeoutSeconds;
    return settings;
}

// The error text of a send that must fail.
QString failureOf(const SmtpSettings& settings)
{
    try {
        SendSmtpMessage(settings, QStringLiteral("a@example.com"), QStringLiteral("b@example.com"), kMessage);
    } catch (const AppError& error) {
        return error.message();
    }
    return QString();
}

} // namespace

class TestSmtpSender : public QObject {
    Q_OBJECT

private slots:
    void portRule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("port");
        QTest::newRow("empty uses 25") << "" << 25;
        QTest::newRow("zero uses 25") << "0" << 25;
        QTest::newRow("negative uses 25") << "-5" << 25;
        QTest::newRow("given port") << "2525" << 2525;
        QTest::newRow("submission") << "587" << 587;
    }
    void portRule()
    {
        QFETCH(QString, text);
        QFETCH(int, port);
        QCOMPARE(SmtpPortFromText(text), port);
    }

    void portThatIsNotANumberFailsBeforeConnecting()
    {
        try {
            SmtpPortFromText(QStringLiteral("25a"));
            QFAIL("no error");
        } catch (const AppError& error) {
            QCOMPARE(error.message(), QStringLiteral("''25a'' is not a valid integer value"));
        }
    }

    void urlCarriesSchemePortAndHeloName_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::addColumn<QByteArray>("url");
        QTest::newRow("plain") << "mail.example.com" << 25 << QByteArray("smtp://mail.example.com:25/pc1");
        QTest::newRow("implicit TLS on 465") << "mail.example.com" << 465
                                             << QByteArray("smtps://mail.example.com:465/pc1");
        QTest::newRow("IPv6 literal") << "::1" << 587 << QByteArray("smtp://[::1]:587/pc1");
    }
    void urlCarriesSchemePortAndHeloName()
    {
        QFETCH(QString, host);
        QFETCH(int, port);
        QFETCH(QByteArray, url);
        QCOMPARE(SmtpUrl(host, port, QStringLiteral("pc1")), url);
    }

    // Which login the client uses, checked on a real server: LOGIN first, PLAIN
    // when LOGIN is not offered, nothing without a login or a usable mechanism.
    void loginFollowsWhatTheServerOffers_data()
    {
        QTest::addColumn<QString>("offered");
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("usedMechanism");  // empty: no AUTH at all
        QTest::newRow("LOGIN and PLAIN offered") << "LOGIN,PLAIN" << "user" << "LOGIN";
        QTest::newRow("PLAIN before LOGIN") << "PLAIN,LOGIN" << "user" << "LOGIN";
        QTest::newRow("only PLAIN") << "PLAIN" << "user" << "PLAIN";
        QTest::newRow("empty login") << "LOGIN,PLAIN" << "" << "";
        QTest::newRow("no AUTH offered") << "" << "user" << "";
        QTest::newRow("only other mechanisms") << "CRAM-MD5,DIGEST-MD5" << "user" << "";
    }
    void loginFollowsWhatTheServerOffers()
    {
        QFETCH(QString, offered);
        QFETCH(QString, login);
        QFETCH(QString, usedMechanism);
        SmtpTestServer server(offered.isEmpty() ? QStringList() : QStringList{"--auth", offered});
        QVERIFY(server.port() > 0);

        SendSmtpMessage(localSettings(server.port(), login), QStringLiteral("a@example.com"),
                        QStringLiteral("b@example.com"), kMessage);

        const auto auths = server.events(QStringLiteral("auth"));
        const auto messages = server.messages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0][QStringLiteral("mail_from")].toString(), QStringLiteral("a@example.com"));
        QCOMPARE(messages[0][QStringLiteral("rcpt_tos")].toArray().at(0).toString(), QStringLiteral("b@example.com"));
        if (usedMechanism.isEmpty()) {
            QVERIFY(auths.isEmpty());
            QVERIFY(!messages[0][QStringLiteral("authenticated")].toBool());
        } else {
            QCOMPARE(auths.size(), 1);
            QCOMPARE(auths[0][QStringLiteral("mechanism")].toString(), usedMechanism);
            QCOMPARE(auths[0][QStringLiteral("login")].toString(), login);
            QCOMPARE(auths[0][QStringLiteral("password")].toString(), QStringLiteral("secret"));
            QVERIFY(messages[0][QStringLiteral("authenticated")].toBool());
        }
        // The client greets with this machine's name.
        const auto ehlos = server.events(QStringLiteral("ehlo"));
        QVERIFY(!ehlos.isEmpty());
        const QString greeted = ehlos.last()[QStringLiteral("hostname")].toString();
        QVERIFY2(greeted == QSysInfo::machineHostName() || greeted == QStringLiteral("localhost"),
                 qPrintable(greeted));
    }

    // Each failure names what failed and carries the server's reply.
    void failuresSayWhatFailed_data()
    {
        QTest::addColumn<QStringList>("serverOptions");
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("authentication required, none offered")
            << QStringList{"--require-auth"} << "user" << "secret"
            << QStringList{"refused the sender address \"a@example.com\"", "530 5.7.0 Authentication required"};
        QTest::newRow("wrong password")
            << QStringList{"--auth", "LOGIN"} << "user" << "wrong"
            << QStringList{"refused the login \"user\"", "535"};
        QTest::newRow("recipient refused")
            << QStringList{"--reject-rcpt"} << "" << ""
            << QStringList{"refused the recipient address \"b@example.com\"", "550 5.1.1 No such user here"};
    }
    void failuresSayWhatFailed()
    {
        QFETCH(QStringList, serverOptions);
        QFETCH(QString, login);
        QFETCH(QString, password);
        QFETCH(QStringList, expected);
        SmtpTestServer server(serverOptions);
        QVERIFY(server.port() > 0);
        SmtpSettings settings = localSettings(server.port(), login);
        settings.password = password;
        const QString message = failureOf(settings);
        for (const QString& part : expected) QVERIFY2(message.contains(part), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("127.0.0.1 (port %1)").arg(server.port())), qPrintable(message));
        QVERIFY(server.messages().isEmpty());
    }

    // A server that offers STARTTLS but cannot start it never receives the password.
    void passwordNeverGoesInClearWhereStartTlsWasOffered()
    {
        SmtpTestServer server({"--auth", "LOGIN,PLAIN", "--starttls"});
        QVERIFY(server.port() > 0);
        const QString message = failureOf(localSettings(server.port(), QStringLiteral("user")));
        QVERIFY2(message.contains(QStringLiteral("STARTTLS")), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("the password was not sent")), qPrintable(message));
        QVERIFY(server.events(QStringLiteral("auth")).isEmpty());
        QVERIFY(server.messages().isEmpty());
    }

    // A server with a working STARTTLS that takes logins only over it: the message
    // and the login travel encrypted. Without trusting its certificate the send
    // stops before the login, with a message saying so.
    void startTlsIsUsedWhenOffered_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<bool>("trusted");
        QTest::newRow("login over TLS") << "user" << true;
        QTest::newRow("no login, still TLS") << "" << true;
        QTest::newRow("untrusted certificate") << "user" << false;
    }
    void startTlsIsUsedWhenOffered()
    {
        QFETCH(QString, login);
        QFETCH(bool, trusted);
        SmtpTestServer server({"--tls"});
        QVERIFY(server.port() > 0);
        SmtpSettings settings = localSettings(server.port(), login);
        if (trusted) settings.caCertificatesFile = QStringLiteral(FENNICK_TEST_SOURCE_DIR "/email/smtp_test_cert.pem");

        if (!trusted) {
            const QString message = failureOf(settings);
            QVERIFY2(message.startsWith(QStringLiteral("Could not set up a secure connection to the mail server")),
                     qPrintable(message));
            QVERIFY(server.events(QStringLiteral("auth")).isEmpty());
            QVERIFY(server.messages().isEmpty());
            return;
        }
        SendSmtpMessage(settings, QStringLiteral("a@example.com"), QStringLiteral("b@example.com"), kMessage);
        const auto messages = server.messages();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0][QStringLiteral("tls")].toBool());
        const auto auths = server.events(QStringLiteral("auth"));
        QCOMPARE(auths.size(), login.isEmpty() ? 0 : 1);
        if (!login.isEmpty()) {
            QCOMPARE(auths[0][QStringLiteral("mechanism")].toString(), QStringLiteral("LOGIN"));
            QVERIFY(auths[0][QStringLiteral("tls")].toBool());
            QVERIFY(messages[0][QStringLiteral("authenticated")].toBool());
        }
    }

    void refusedConnectionFailsAtOnce()
    {
        const int port = SmtpTestServer::UnusedPort();
        QElapsedTimer clock;
        clock.start();
        const QString message = failureOf(localSettings(port));
        QVERIFY2(message.startsWith(QStringLiteral("Could not connect to the mail server 127.0.0.1 (port %1)")
                                        .arg(port)),
                 qPrintable(message));
        QVERIFY(clock.elapsed() < 5000);
    }

    // A server that never answers, or stops answering halfway, ends the send
    // after the time-out, and the event loop of the waiting thread keeps running
    // meanwhile.
    void silentServerTimesOutWhileTheEventLoopRuns_data()
    {
        QTest::addColumn<QStringList>("serverOptions");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no greeting") << QStringList{"--silent"}
                                     << "The mail server 127.0.0.1 (port %1) did not answer within 2 seconds.";
        // The whole message went out: the server may hold it, and the user is told so.
        QTest::newRow("no answer to the message")
            << QStringList{"--delay", "10"}
            << "The mail server 127.0.0.1 (port %1) did not answer after the whole message was sent (no answer "
               "for 2 seconds). The message may have been sent: check with the recipient before sending it again.";
    }
    void silentServerTimesOutWhileTheEventLoopRuns()
    {
        QFETCH(QStringList, serverOptions);
        QFETCH(QString, expected);
        SmtpTestServer server(serverOptions);
        QVERIFY(server.port() > 0);
        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
        ticker.start(50);
        QElapsedTimer clock;
        clock.start();
        const QString message = failureOf(localSettings(server.port(), QString(), 2));
        const qint64 elapsed = clock.elapsed();
        QCOMPARE(message, expected.arg(server.port()));
        QVERIFY2(elapsed >= 1500 && elapsed < 3500, qPrintable(QString::number(elapsed)));
        QVERIFY2(ticks >= 15, qPrintable(QString::number(ticks)));
    }

    // A cancel before the message's end stops the send; once the end has gone
    // out it no longer does: the send waits for the server's answer and ends
    // as that answer says, so a message the server took is never reported as
    // cancelled.
    void cancelAfterTheMessageEndWaitsForTheAnswer()
    {
        SmtpTestServer server({"--delay", "1.5"});
        QVERIFY(server.port() > 0);
        std::atomic<bool> cancel{false};
        SmtpSettings settings = localSettings(server.port());
        settings.cancelRequested = &cancel;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (!server.events(QStringLiteral("data_end")).isEmpty()) cancel = true;
        });
        watch.start(20);
        bool cancelled = false;
        try {
            SendSmtpMessage(settings, QStringLiteral("a@example.com"), QStringLiteral("b@example.com"), kMessage);
        } catch (const SmtpSendCancelled&) {
            cancelled = true;
        }
        QVERIFY(cancel);
        QVERIFY(!cancelled);
        QCOMPARE(server.messages().size(), 1);
    }

    void missingOrUnusableServerNameIsReported_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << ""
                               << "No outgoing mail (SMTP) server is set. Enter it in Company Maintenance.";
        QTest::newRow("blank") << "  " << "No outgoing mail (SMTP) server is set. Enter it in Company Maintenance.";
        QTest::newRow("URL text") << "mail.example.com/x?y"
                                  << "The outgoing mail (SMTP) server name \"mail.example.com/x?y\" is not valid.";
    }
    void missingOrUnusableServerNameIsReported()
    {
        QFETCH(QString, host);
        QFETCH(QString, expected);
        SmtpSettings settings = localSettings(25);
        settings.host = host;
        QCOMPARE(failureOf(settings), expected);
    }

    void unknownHostIsReported()
    {
        SmtpSettings settings = localSettings(25);
        settings.host = QStringLiteral("no-such-host.invalid");
        const QString message = failureOf(settings);
        QVERIFY2(message.contains(QStringLiteral("the server name was not found")), qPrintable(message));
    }
};

FENNICK_TEST_MAIN(TestSmtpSender)
#include "test_smtpsender.moc"
