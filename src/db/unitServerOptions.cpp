#include "db/unitServerOptions.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

QString valueOf(const TConnectionOptions& options, const QString& keyword)
{
    for (const auto& option : options)
        if (option.first == keyword) return option.second;
    return QString();
}

} // namespace

bool IsThisComputer(const QString& host)
{
    const QString h = host.trimmed();
    return h.isEmpty() || h.startsWith(QLatin1Char('/')) || h.startsWith(QLatin1Char('@'))
           || h.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0 || h.startsWith(QStringLiteral("127."))
           || h == QStringLiteral("::1");
}

TServerOptions ServerConnectionOptions(const TConnectionOptions& given)
{
    TServerOptions options;
    // connect_timeout: a server that does not answer is given up after this many
    // seconds. The keepalives notice a silent network within about a minute;
    // tcp_user_timeout (ms) ends a connection whose data is not acknowledged.
    options.defaults = {{QStringLiteral("connect_timeout"), QStringLiteral("10")},
                        {QStringLiteral("keepalives"), QStringLiteral("1")},
                        {QStringLiteral("keepalives_idle"), QStringLiteral("30")},
                        {QStringLiteral("keepalives_interval"), QStringLiteral("10")},
                        {QStringLiteral("keepalives_count"), QStringLiteral("3")},
                        {QStringLiteral("tcp_user_timeout"), QStringLiteral("30000")},
                        {QStringLiteral("application_name"), QStringLiteral("Fennick")}};
    // The stored texts are exchanged as UTF-8, whatever the string asks.
    options.required = {{QStringLiteral("client_encoding"), QStringLiteral("UTF8")}};

    // host may list several computers; hostaddr stands in where host is empty.
    QString hosts = valueOf(given, QStringLiteral("host"));
    if (hosts.isEmpty()) hosts = valueOf(given, QStringLiteral("hostaddr"));
    bool remote = false;
    for (const QString& host : hosts.split(QLatin1Char(',')))
        if (!IsThisComputer(host)) remote = true;
    const QString sslmode = valueOf(given, QStringLiteral("sslmode"));
    const bool weakTls = sslmode.isEmpty() || sslmode == QStringLiteral("disable") || sslmode == QStringLiteral("allow")
                         || sslmode == QStringLiteral("prefer");
    if (remote && weakTls) options.required.append({QStringLiteral("sslmode"), QStringLiteral("require")});
    return options;
}

QString BuildConnectionString(const TConnectionOptions& options)
{
    QStringList parts;
    for (const auto& [keyword, value] : options) {
        if (value.isEmpty()) continue;
        QString quoted = value;
        quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('\''), QStringLiteral("\\'"));
        static const QRegularExpression plainValue(QStringLiteral("^[A-Za-z0-9._:/@+-]+$"));
        const bool plain = plainValue.match(value).hasMatch();
        parts << keyword + QLatin1Char('=') + (plain ? value : QLatin1Char('\'') + quoted + QLatin1Char('\''));
    }
    return parts.join(QLatin1Char(' '));
}

dbserver::Failure ConnectFailureFromMessage(const QString& message)
{
    using dbserver::FailureKind;
    dbserver::Failure failure;
    failure.message = message;
    auto has = [&message](const char* part) { return message.contains(QLatin1String(part), Qt::CaseInsensitive); };
    if (has("timeout expired"))
        failure.kind = FailureKind::TimedOut;
    else if (has("Connection refused"))
        failure.kind = FailureKind::Refused;
    else if (has("could not translate host name") || has("Name or service not known"))
        failure.kind = FailureKind::NoSuchServer;
    else if (has("password authentication failed") || has("no password supplied")
             || (has("role \"") && has("does not exist")))
        failure.kind = FailureKind::Password;
    else if (has("database \"") && has("does not exist"))
        failure.kind = FailureKind::NoSuchDatabase;
    else
        failure.kind = FailureKind::Other;
    return failure;
}
