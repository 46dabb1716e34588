#pragma once
// Composes one Internet mail message (RFC 5322 with MIME) ready to be handed to
// the SMTP transport byte for byte: every line ends in CRLF, non-ASCII names and
// subjects are MIME encoded-words, the body keeps its line breaks as typed and an
// attachment travels in Base64 inside a multipart/mixed message.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

struct MailAddress {
    QString name;     // display name, may be empty
    QString address;  // bare address: local@domain
};

struct MailAttachment {
    QString fileName;   // the name the recipient sees
    QString mimeType;   // for example application/pdf
    QByteArray content;
};

struct MailMessage {
    MailAddress from;
    MailAddress to;
    QString subject;
    QString body;
    std::optional<MailAttachment> attachment;
    // Left empty, these are made when the message is composed.
    QDateTime date;
    QByteArray messageId;  // without angle brackets
    QByteArray boundary;
};

// The address part of a text that is either a bare address or a name with the
// address in angle brackets ("My Company <office@example.com>"); surrounding
// blanks are dropped.
QString ParseMailAddress(const QString& text);

// False when an address cannot go into an SMTP command or a header: empty, or
// holding a control character, a blank or an angle bracket.
bool IsUsableMailAddress(const QString& address);

// The address as it is sent: the domain in its ASCII (IDNA) form,
// "anna@bücher.example" -> "anna@xn--bcher-kva.example". Throws AppError with a
// clear message when the part before the @ holds a non-ASCII letter (mail
// servers cannot be relied on to take it) or the domain has no ASCII form.
QString ToAsciiMailAddress(const QString& address);

// Reads the file to attach; the file name is the path's last component. Throws
// AppError naming the file when it cannot be read.
MailAttachment ReadMailAttachment(const QString& path);
// application/pdf for a PDF, a best guess from the name otherwise.
QString MimeTypeForFileName(const QString& fileName);

// The whole message as it goes on the wire (without SMTP dot-stuffing).
QByteArray ComposeMailMessage(const MailMessage& message);

// Header text as one or more RFC 2047 encoded-words when it is not plain ASCII,
// else unchanged; line breaks inside the text become blanks.
QByteArray EncodeHeaderText(const QString& text);
// "Name <address>" for a header, the name quoted or encoded as needed.
QByteArray FormatMailbox(const MailAddress& mailbox);
// RFC 5322 date, for example "Thu, 10 Dec 2026 11:51:40 +0000".
QByteArray FormatMailDate(const QDateTime& dateTime);
