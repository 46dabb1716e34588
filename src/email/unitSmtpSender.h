#pragma once
// Hands one composed message to an SMTP server through libcurl, in the mail
// plug-in (email/MailPlugin.h) loaded the first time a message is sent. The transfer runs
// on a worker thread while the calling thread keeps its event loop turning, so
// the window stays painted; a server that does not answer ends the send after
// the time-out. Every failure throws AppError with a message that says what
// failed (connecting, logging in, the sender or recipient refused, the message
// refused) and the server's own reply where there was one.
#include "app/AppError.h"

#include <QByteArray>
#include <QString>
#include <atomic>

constexpr int kDefaultSmtpPort = 25;
constexpr int kImplicitTlsSmtpPort = 465;
constexpr int kDefaultSmtpTimeoutSeconds = 30;

struct SmtpSettings {
    QString host;
    int port = kDefaultSmtpPort;
    QString login;     // empty: never authenticate
    QString password;
    int timeoutSeconds = kDefaultSmtpTimeoutSeconds;
    // PEM file of the certificates trusted for TLS; empty: the system's store.
    QString caCertificatesFile;
    // Set (from the screen's thread) to stop a send in progress; it stops within
    // a second and throws SmtpSendCancelled. Once the whole message has gone
    // out a cancel no longer stops it: the send waits for the server's answer
    // and ends as that answer says. Null: the send cannot be cancelled.
    const std::atomic<bool>* cancelRequested = nullptr;
};

// Thrown when a send stops because it was cancelled; nothing was sent.
class SmtpSendCancelled : public AppError {
public:
    SmtpSendCancelled() : AppError(QStringLiteral("Sending the e-mail was cancelled.")) {}
};

// The port from the company's port text: a positive integer is the port, an
// empty text or 0 leaves the default 25. A text that is not an integer throws
// the conversion's error.
int SmtpPortFromText(const QString& portText);

// A server name or address the sender accepts: ASCII letters and digits, '-',
// '.', '_' and ':' (an IPv6 address).
bool IsSmtpHostText(const QString& host);

// The server address curl is given: smtps:// on port 465 (TLS from the first
// byte), smtp:// otherwise; the path carries the name sent with EHLO/HELO.
QByteArray SmtpUrl(const QString& host, int port, const QString& heloName);

// How the login is carried out, from what the server offered in its EHLO reply.
enum class SmtpAuthChoice { None, Login, Plain };
// With a login set: AUTH LOGIN when offered, else AUTH PLAIN when offered, else
// no authentication at all (the server decides whether it takes the message).
SmtpAuthChoice ChooseSmtpAuth(const QString& login, const QStringList& offeredMechanisms);

// Connects, authenticates as described above, sends the message from the
// sender to the one recipient and disconnects. STARTTLS is used whenever the
// server offers it; a password is never sent over a connection that offered
// STARTTLS but could not start it.
void SendSmtpMessage(const SmtpSettings& settings, const QString& senderAddress,
                     const QString& recipientAddress, const QByteArray& message);
