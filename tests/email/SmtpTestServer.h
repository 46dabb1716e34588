#pragma once
// A real SMTP server for one test: smtp_test_server.py run by Debian's Python
// (which sees python3-aiosmtpd) on a free port of 127.0.0.1, stopped when the
// object goes. What it received is read back from its JSON-lines log.
#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

class SmtpTestServer {
public:
    // options: the script's switches, for example {"--auth", "LOGIN,PLAIN"}.
    explicit SmtpTestServer(const QStringList& options = {})
    {
        m_log = m_dir.filePath(QStringLiteral("smtp.jsonl"));
        QStringList arguments{QStringLiteral(FENNICK_TEST_SOURCE_DIR "/email/smtp_test_server.py"),
                              QStringLiteral("--log"), m_log};
        m_process.setProgram(QStringLiteral("/usr/bin/python3"));
        m_process.setArguments(arguments + options);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start();
        if (!m_process.waitForStarted(5000)) return;
        // The script prints "PORT <n>" once it listens.
        while (m_port == 0 && m_process.state() == QProcess::Running) {
            if (!m_process.canReadLine() && !m_process.waitForReadyRead(10000)) break;
            const QByteArray line = m_process.readLine().trimmed();
            if (line.startsWith("PORT ")) m_port = line.mid(5).toInt();
        }
        if (m_port == 0)
            qWarning("SMTP test server did not start: %s", m_process.readAllStandardError().constData());
    }

    ~SmtpTestServer()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    int port() const { return m_port; }

    // Every logged event of one kind ("ehlo", "helo", "auth", "message"), in order.
    QList<QJsonObject> events(const QString& kind) const
    {
        QList<QJsonObject> result;
        QFile file(m_log);
        if (!file.open(QIODevice::ReadOnly)) return result;
        while (!file.atEnd()) {
            const QJsonObject event = QJsonDocument::fromJson(file.readLine()).object();
            if (event.value(QStringLiteral("event")).toString() == kind) result << event;
        }
        return result;
    }

    QList<QJsonObject> messages() const { return events(QStringLiteral("message")); }

    // A port on 127.0.0.1 that nothing listens on: connecting is refused.
    static int UnusedPort()
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), length);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
        ::close(fd);
        return ntohs(address.sin_port);
    }

private:
    QTemporaryDir m_dir;
    QString m_log;
    QProcess m_process;
    int m_port = 0;
};
