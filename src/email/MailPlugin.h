#pragma once
// The interface between the program and its mail plug-in (libcurl, email/curl/),
// loaded the first time a message is sent (app/unitPlugin.h).
#include "email/unitSmtpSender.h"

#include <QByteArray>
#include <QString>

namespace mailplugin {

// Raised whenever this header or SmtpSettings changes.
constexpr int kInterfaceVersion = 1;

struct SendOutcome {
    bool cancelled = false;   // stopped by settings.cancelRequested; nothing was sent
    QString error;            // empty: the server took the message
};

class Mail {
public:
    virtual ~Mail() = default;
    // The whole conversation with the server, on the calling thread (see
    // SendSmtpMessage for what it does and the messages of its failures).
    virtual SendOutcome send(const SmtpSettings& settings, const QString& senderAddress,
                             const QString& recipientAddress, const QByteArray& message) = 0;
};

} // namespace mailplugin

#define FENNICK_MAIL_SYMBOL "FennickMail"
