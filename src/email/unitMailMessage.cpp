#include "email/unitMailMessage.h"

#include "app/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMimeDatabase>
#include <QRandomGenerator>
#include <QStringList>
#include <QSysInfo>
#include <QUrl>

namespace {

const QByteArray kCrlf = QByteArrayLiteral("\r\n");
constexpr int kFoldWidth = 78;      // recommended longest header line
constexpr int kMaxLineBytes = 998;  // longest line allowed on the wire
constexpr int kWordBytes = 30;      // UTF-8 bytes per encoded-word: keeps each line short

QString withoutLineBreaks(const QString& text)
{
    QString flat = text;
    flat.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    flat.replace(QLatin1Char('\r'), QLatin1Char(' '));
    flat.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return flat;
}

bool isPlainAsciiText(const QString& text)
{
    for (QChar c : text) {
        const ushort u = c.unicode();
        if ((u < 0x20 && u != '\t') || u > 0x7E) return false;
    }
    return true;
}

// Breaks a header line before blanks so that lines stay near 78 characters.
QByteArray foldHeader(const QByteArray& line)
{
    const int valueStart = line.indexOf(':') + 2;
    QByteArray result;
    QByteArray rest = line;
    int minBreak = valueStart;
    while (rest.size() > kFoldWidth) {
        int at = rest.lastIndexOf(' ', kFoldWidth);
        if (at <= minBreak) at = rest.indexOf(' ', kFoldWidth);
        if (at <= minBreak) break;
        result += rest.left(at) + kCrlf;
        rest = rest.mid(at);  // the blank starts the continuation line
        minBreak = 1;
    }
    return result + rest;
}

QByteArray headerLine(const char* name, const QByteArray& value)
{
    const QByteArray line = QByteArray(name) + ": " + value;
    // Encoded-words come already broken into short lines.
    return (value.contains('\n') ? line : foldHeader(line)) + kCrlf;
}

// Quoted string for a display name holding characters that are special in addresses.
QByteArray quotedAsciiName(const QString& name)
{
    static const QString specials = QStringLiteral("()<>[]:;@\\,.\"");
    bool needsQuotes = false;
    for (QChar c : name)
        if (specials.contains(c)) needsQuotes = true;
    QByteArray bytes = name.toLatin1();
    if (!needsQuotes) return bytes;
    bytes.replace('\\', "\\\\");
    bytes.replace('"', "\\\"");
    return '"' + bytes + '"';
}

QByteArray quotedParameter(const QString& value)
{
    QByteArray bytes = value.toLatin1();
    bytes.replace('\\', "\\\\");
    bytes.replace('"', "\\\"");
    return '"' + bytes + '"';
}

QByteArray randomHex(int bytes)
{
    QByteArray raw(bytes, Qt::Uninitialized);
    for (char& b : raw) b = char(QRandomGenerator::global()->bounded(256));
    return raw.toHex();
}

bool isDomainText(const QString& text)
{
    if (text.isEmpty()) return false;
    for (QChar c : text)
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != '-' && c != '.') return false;
    return true;
}

QByteArray makeMessageId(const QString& senderAddress)
{
    QString domain = senderAddress.section(QLatin1Char('@'), -1);
    if (!senderAddress.contains(QLatin1Char('@')) || !isDomainText(domain)) {
        domain = QSysInfo::machineHostName();
        if (!isDomainText(domain)) domain = QStringLiteral("localhost");
    }
    return randomHex(12) + '.' + QByteArray::number(QDateTime::currentMSecsSinceEpoch(), 16) + '@'
         + domain.toLatin1();
}

// One line of text in quoted-printable, with soft breaks keeping lines at 76.
QByteArray quotedPrintableLine(const QByteArray& line)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    int width = 0;
    for (int i = 0; i < line.size(); ++i) {
        const uchar b = uchar(line[i]);
        const bool last = i == line.size() - 1;
        QByteArray token;
        if (((b == ' ' || b == '\t') && !last) || (b >= 33 && b <= 126 && b != '='))
            token = QByteArray(1, char(b));
        else
            token = QByteArray{"="} + hex[b >> 4] + hex[b & 0xF];
        if (width + token.size() > 75) {
            out += "=\r\n";
            width = 0;
        }
        out += token;
        width += int(token.size());
    }
    return out;
}

struct EncodedBody {
    QByteArray charset;
    QByteArray transferEncoding;
    QByteArray text;
};

// The body with CRLF line breaks: plain 7-bit text when it is ASCII with lines
// the wire can carry, otherwise UTF-8 in quoted-printable.
EncodedBody encodeBody(const QString& body)
{
    QString normal = body;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList lines = normal.split(QLatin1Char('\n'));

    bool sevenBit = true;
    for (const QString& line : lines) {
        if (line.size() > kMaxLineBytes) sevenBit = false;
        for (QChar c : line)
            if (c.unicode() == 0 || c.unicode() > 0x7F) sevenBit = false;
    }

    QList<QByteArray> encoded;
    for (const QString& line : lines)
        encoded << (sevenBit ? line.toLatin1() : quotedPrintableLine(line.toUtf8()));
    if (sevenBit) return {"us-ascii", "7bit", encoded.join(kCrlf)};
    return {"utf-8", "quoted-printable", encoded.join(kCrlf)};
}

QByteArray base64Lines(const QByteArray& content)
{
    const QByteArray all = content.toBase64();
    QByteArray out;
    for (qsizetype at = 0; at < all.size(); at += 76) {
        if (at > 0) out += kCrlf;
        out += all.mid(at, 76);
    }
    return out;
}

QByteArray attachmentHeaders(const MailAttachment& attachment)
{
    QByteArray type = attachment.mimeType.isEmpty() ? QByteArrayLiteral("application/octet-stream")
                                                    : attachment.mimeType.toLatin1();
    const QString name = withoutLineBreaks(attachment.fileName);
    QByteArray nameParameter;
    QByteArray fileNameParameter;
    if (isPlainAsciiText(name)) {
        nameParameter = "name=" + quotedParameter(name);
        fileNameParameter = "filename=" + quotedParameter(name);
    } else {
        // Encoded-word for older readers, RFC 2231 for the standard one.
        nameParameter = "name=\"" + EncodeHeaderText(name).replace("\r\n ", " ") + '"';
        fileNameParameter = "filename*=utf-8''" + name.toUtf8().toPercentEncoding("!#$&+^`|");
    }
    return "Content-Type: " + type + ";\r\n " + nameParameter + kCrlf
         + "Content-Transfer-Encoding: base64\r\n"
         + "Content-Disposition: attachment;\r\n " + fileNameParameter + kCrlf;
}

} // namespace

QString ParseMailAddress(const QString& text)
{
    const int open = int(text.lastIndexOf(QLatin1Char('<')));
    const int close = int(text.lastIndexOf(QLatin1Char('>')));
    if (open >= 0 && close > open) return text.mid(open + 1, close - open - 1).trimmed();
    return text.trimmed();
}

bool IsUsableMailAddress(const QString& address)
{
    if (address.isEmpty()) return false;
    for (QChar c : address) {
        const ushort u = c.unicode();
        if (u <= 0x20 || u == 0x7F || c == '<' || c == '>') return false;
    }
    return true;
}

QString ToAsciiMailAddress(const QString& address)
{
    const qsizetype at = address.lastIndexOf(QLatin1Char('@'));
    const QString local = at < 0 ? address : address.left(at);
    for (QChar c : local) {
        if (c.unicode() >= 0x80)
            throw AppError(QStringLiteral("The e-mail address \"%1\" cannot be used: the part before the @ holds "
                                          "letters outside plain ASCII, which mail servers do not reliably accept.")
                               .arg(address));
    }
    if (at < 0) return address;
    const QString domain = address.mid(at + 1);
    bool ascii = true;
    for (QChar c : domain) ascii = ascii && c.unicode() < 0x80;
    if (ascii) return address;
    const QByteArray ace = QUrl::toAce(domain);
    if (ace.isEmpty())
        throw AppError(QStringLiteral("The e-mail address \"%1\" cannot be used: its domain \"%2\" is not a valid "
                                      "internet domain name.")
                           .arg(address, domain));
    return local + QLatin1Char('@') + QString::fromLatin1(ace);
}

QString MimeTypeForFileName(const QString& fileName)
{
    if (QFileInfo(fileName).suffix().compare(QStringLiteral("pdf"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("application/pdf");
    return QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension).name();
}

MailAttachment ReadMailAttachment(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("The file to attach cannot be read: %1 (%2)")
                           .arg(QDir::toNativeSeparators(path), file.errorString()));
    const QString name = QFileInfo(path).fileName();
    return {name, MimeTypeForFileName(name), file.readAll()};
}

QByteArray EncodeHeaderText(const QString& text)
{
    const QString flat = withoutLineBreaks(text);
    if (isPlainAsciiText(flat) && !flat.contains(QStringLiteral("=?"))) return flat.toLatin1();

    // Whole characters per word: a word never splits a UTF-8 sequence or a surrogate pair.
    QList<QByteArray> words;
    QByteArray chunk;
    for (qsizetype i = 0; i < flat.size(); ++i) {
        qsizetype length = (flat[i].isHighSurrogate() && i + 1 < flat.size()) ? 2 : 1;
        const QByteArray bytes = flat.mid(i, length).toUtf8();
        if (chunk.size() + bytes.size() > kWordBytes) {
            words << chunk;
            chunk.clear();
        }
        chunk += bytes;
        i += length - 1;
    }
    if (!chunk.isEmpty()) words << chunk;
    QList<QByteArray> encoded;
    for (const QByteArray& word : words) encoded << "=?UTF-8?B?" + word.toBase64() + "?=";
    return encoded.join("\r\n ");
}

QByteArray FormatMailbox(const MailAddress& mailbox)
{
    const QString name = withoutLineBreaks(mailbox.name).trimmed();
    const QByteArray address = mailbox.address.toUtf8();
    if (name.isEmpty()) return address;
    const QByteArray shownName =
        (isPlainAsciiText(name) && !name.contains(QStringLiteral("=?"))) ? quotedAsciiName(name)
                                                                         : EncodeHeaderText(name);
    return shownName + " <" + address + '>';
}

QByteArray FormatMailDate(const QDateTime& dateTime)
{
    const QLocale c = QLocale::c();
    const QDate date = dateTime.date();
    const int offsetMinutes = dateTime.offsetFromUtc() / 60;
    const int absolute = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
    return QStringLiteral("%1, %2 %3 %4 %5 %6%7%8")
        .arg(c.dayName(date.dayOfWeek(), QLocale::ShortFormat))
        .arg(date.day())
        .arg(c.monthName(date.month(), QLocale::ShortFormat))
        .arg(date.year())
        .arg(dateTime.time().toString(QStringLiteral("HH:mm:ss")))
        .arg(offsetMinutes < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(absolute / 60, 2, 10, QLatin1Char('0'))
        .arg(absolute % 60, 2, 10, QLatin1Char('0'))
        .toLatin1();
}

QByteArray ComposeMailMessage(const MailMessage& message)
{
    const QDateTime date = message.date.isValid() ? message.date : QDateTime::currentDateTime();
    const QByteArray messageId =
        message.messageId.isEmpty() ? makeMessageId(message.from.address) : message.messageId;

    QByteArray out;
    out += headerLine("Date", FormatMailDate(date));
    out += headerLine("From", FormatMailbox(message.from));
    out += headerLine("To", FormatMailbox(message.to));
    out += headerLine("Subject", EncodeHeaderText(message.subject));
    out += headerLine("Message-ID", '<' + messageId + '>');
    out += "MIME-Version: 1.0\r\n";

    const EncodedBody body = encodeBody(message.body);
    const QByteArray bodyType = "text/plain; charset=" + body.charset;
    if (!message.attachment) {
        out += "Content-Type: " + bodyType + kCrlf;
        out += "Content-Transfer-Encoding: " + body.transferEncoding + kCrlf;
        out += kCrlf;
        out += body.text;
        return out;
    }

    const QByteArray boundary =
        message.boundary.isEmpty() ? QByteArrayLiteral("=_Part_") + randomHex(12) : message.boundary;
    out += "Content-Type: multipart/mixed;\r\n boundary=\"" + boundary + "\"\r\n";
    out += kCrlf;
    out += "This is a multi-part message in MIME format\r\n";
    out += "\r\n--" + boundary + kCrlf;
    out += "Content-Type: " + bodyType + kCrlf;
    out += "Content-Transfer-Encoding: " + body.transferEncoding + kCrlf;
    out += kCrlf;
    out += body.text;
    out += "\r\n--" + boundary + kCrlf;
    out += attachmentHeaders(*message.attachment);
    out += kCrlf;
    out += base64Lines(message.attachment->content);
    out += "\r\n--" + boundary + "--\r\n";
    return out;
}
