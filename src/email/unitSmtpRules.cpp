// The parts of the SMTP sender that both the program and its mail plug-in use.
#include "email/unitSmtpSender.h"

#include <QStringList>
#include <QUrl>

bool IsSmtpHostText(const QString& host)
{
    for (QChar c : host) {
        const bool allowed = (c.unicode() < 0x80 && c.isLetterOrNumber()) || c == '-' || c == '.'
                          || c == '_' || c == ':';
        if (!allowed) return false;
    }
    return !host.isEmpty();
}

QByteArray SmtpUrl(const QString& host, int port, const QString& heloName)
{
    const QByteArray scheme = port == kImplicitTlsSmtpPort ? "smtps" : "smtp";
    QByteArray hostPart = host.toUtf8();
    if (host.contains(QLatin1Char(':'))) hostPart = '[' + hostPart + ']';  // IPv6 literal
    return scheme + "://" + hostPart + ':' + QByteArray::number(port) + '/'
         + QUrl::toPercentEncoding(heloName);
}

SmtpAuthChoice ChooseSmtpAuth(const QString& login, const QStringList& offeredMechanisms)
{
    if (login.isEmpty()) return SmtpAuthChoice::None;
    if (offeredMechanisms.contains(QStringLiteral("LOGIN"), Qt::CaseInsensitive)) return SmtpAuthChoice::Login;
    if (offeredMechanisms.contains(QStringLiteral("PLAIN"), Qt::CaseInsensitive)) return SmtpAuthChoice::Plain;
    return SmtpAuthChoice::None;
}

