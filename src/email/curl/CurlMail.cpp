// The mail plug-in: the SMTP conversation through libcurl, built as a plug-in of
// its own (fennick-mail.so) and loaded by email/unitSmtpSender the first time a
// message is sent, so the program starts without libcurl and its TLS libraries.
#include "email/MailPlugin.h"

#include "app/AppError.h"

#include <QStringList>
#include <QSysInfo>

#include <curl/curl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>

namespace {

// What the debug callback saw of the SMTP conversation: the last command, the
// last complete reply and what the server offered in its latest EHLO reply.
struct Conversation {
    QByteArray lastCommand;
    QByteArray lastReply;
    bool anyReply = false;
    bool quitting = false;         // after QUIT: keep the command and reply that mattered
    bool startTlsOffered = false;  // in any EHLO reply, also before STARTTLS
    QStringList authMechanisms;    // from the latest EHLO reply

    QByteArray partialLine;
    QList<QByteArray> replyLines;
};

const QList<QByteArray>& knownCommands()
{
    static const QList<QByteArray> commands{"EHLO", "HELO", "STARTTLS", "AUTH", "MAIL",
                                            "RCPT", "DATA", "QUIT", "RSET", "NOOP"};
    return commands;
}

void noteCommand(Conversation& conversation, const QByteArray& line)
{
    // Lines sent in answer to a 334 challenge carry login data, not a command.
    if (conversation.lastReply.startsWith("334")) return;
    const QByteArray verb = line.trimmed().split(' ').value(0).toUpper();
    if (!knownCommands().contains(verb)) return;
    if (verb == "QUIT") conversation.quitting = true;
    if (conversation.quitting) return;
    conversation.lastCommand = verb;
    if (verb == "EHLO") conversation.authMechanisms.clear();
}

void noteCompleteReply(Conversation& conversation)
{
    if (conversation.quitting) {
        conversation.replyLines.clear();
        return;
    }
    conversation.lastReply = conversation.replyLines.join(' ');
    if (conversation.lastCommand == "EHLO" && conversation.lastReply.startsWith("250")) {
        for (qsizetype i = 1; i < conversation.replyLines.size(); ++i) {
            const QString capability = QString::fromLatin1(conversation.replyLines[i].mid(4)).trimmed();
            QStringList words = capability.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (words.isEmpty()) continue;
            const QString keyword = words.takeFirst().toUpper();
            if (keyword == QStringLiteral("STARTTLS")) conversation.startTlsOffered = true;
            else if (keyword == QStringLiteral("AUTH")) conversation.authMechanisms << words;
            else if (keyword.startsWith(QStringLiteral("AUTH="))) // old form of the same line
                conversation.authMechanisms << keyword.mid(5) << words;
        }
        for (QString& mechanism : conversation.authMechanisms) mechanism = mechanism.toUpper();
    }
    conversation.replyLines.clear();
}

void noteReplyText(Conversation& conversation, const QByteArray& data)
{
    conversation.partialLine += data;
    qsizetype end;
    while ((end = conversation.partialLine.indexOf('\n')) >= 0) {
        const QByteArray line = conversation.partialLine.left(end).trimmed();
        conversation.partialLine.remove(0, end + 1);
        if (line.isEmpty()) continue;
        conversation.anyReply = true;
        conversation.replyLines << line;
        // "250-..." continues a reply, "250 ..." (or a bare code) ends it.
        if (line.size() < 4 || line[3] != '-') noteCompleteReply(conversation);
    }
}

int debugCallback(CURL*, curl_infotype type, char* data, size_t size, void* userp)
{
    auto& conversation = *static_cast<Conversation*>(userp);
    const QByteArray text(data, qsizetype(size));
    if (type == CURLINFO_HEADER_OUT) noteCommand(conversation, text);
    else if (type == CURLINFO_HEADER_IN) noteReplyText(conversation, text);
    return 0;
}

struct Upload {
    const QByteArray* data;
    qsizetype position = 0;
    // Set once curl has taken the last byte: from then on the message and its
    // end are on their way, and the server may take the message at any moment.
    std::atomic<bool> complete{false};
};

size_t readCallback(char* buffer, size_t size, size_t count, void* userp)
{
    auto& upload = *static_cast<Upload*>(userp);
    const qsizetype left = upload.data->size() - upload.position;
    const qsizetype chunk = std::min<qsizetype>(left, qsizetype(size * count));
    std::memcpy(buffer, upload.data->constData() + upload.position, size_t(chunk));
    upload.position += chunk;
    // curl knows the size, so it may not ask again after the last byte.
    if (upload.position == upload.data->size()) upload.complete = true;
    return size_t(chunk);
}

// The transfer's socket, followed so that a connection to a server that stopped
// answering can be cut at once instead of waiting once more for its reply to QUIT.
int socketOptionCallback(void* userp, curl_socket_t socket, curlsocktype)
{
    *static_cast<curl_socket_t*>(userp) = socket;
    return CURL_SOCKOPT_OK;
}

int closeSocketCallback(void* userp, curl_socket_t socket)
{
    auto& tracked = *static_cast<curl_socket_t*>(userp);
    if (tracked == socket) tracked = CURL_SOCKET_BAD;
    return ::close(socket);
}

struct CurlCleanup {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct SlistCleanup {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// What the cancel check looks at: the screen's request, and the message's
// upload (none for the probe).
struct CancelCheck {
    const std::atomic<bool>* requested = nullptr;
    const Upload* upload = nullptr;
};

// A cancel stops the transfer, except once the whole message has gone out:
// then the server may already hold it, so the transfer waits for its answer
// rather than report a message as not sent that the server then delivers.
int cancelCallback(void* userp, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto& check = *static_cast<const CancelCheck*>(userp);
    if (check.upload && check.upload->complete) return 0;
    return check.requested->load() ? 1 : 0;
}

// One curl transfer with the settings shared by the probe and the send.

class SmtpTransfer {
public:
    SmtpTransfer(const SmtpSettings& settings, const QByteArray& url, const Upload* upload = nullptr)
        : m_url(url), m_cancelCheck{settings.cancelRequested, upload}, m_curl(curl_easy_init())
    {
        if (!m_curl) throw AppError(QStringLiteral("The mail transport could not be started."));
        CURL* c = m_curl.get();
        const long timeout = std::max(1, settings.timeoutSeconds);
        curl_easy_setopt(c, CURLOPT_URL, m_url.constData());
        curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, timeout * 1000L);
        curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, timeout);
        // A transfer that stalls (a server that stops reading) ends as well.
        curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, timeout);
        curl_easy_setopt(c, CURLOPT_USE_SSL, long(CURLUSESSL_TRY));
        if (!settings.caCertificatesFile.isEmpty()) {
            const QByteArray caFile = settings.caCertificatesFile.toLocal8Bit();
            curl_easy_setopt(c, CURLOPT_CAINFO, caFile.constData());  // curl keeps its own copy
        }
        curl_easy_setopt(c, CURLOPT_ERRORBUFFER, m_errorBuffer);
        // The debug callback follows the conversation; nothing is printed or logged.
        curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
        curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, debugCallback);
        curl_easy_setopt(c, CURLOPT_DEBUGDATA, &m_conversation);
        curl_easy_setopt(c, CURLOPT_SOCKOPTFUNCTION, socketOptionCallback);
        curl_easy_setopt(c, CURLOPT_SOCKOPTDATA, &m_socket);
        curl_easy_setopt(c, CURLOPT_CLOSESOCKETFUNCTION, closeSocketCallback);
        curl_easy_setopt(c, CURLOPT_CLOSESOCKETDATA, &m_socket);
        // Called at least once a second while the transfer runs: the way a cancel gets in.
        if (settings.cancelRequested) {
            curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
            curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, cancelCallback);
            curl_easy_setopt(c, CURLOPT_XFERINFODATA, &m_cancelCheck);
        }
    }

    CURL* handle() const { return m_curl.get(); }
    const Conversation& conversation() const { return m_conversation; }
    QString errorText(CURLcode code) const
    {
        return m_errorBuffer[0] ? QString::fromUtf8(m_errorBuffer) : QString::fromUtf8(curl_easy_strerror(code));
    }

    CURLcode perform()
    {
        m_errorBuffer[0] = '\0';
        return curl_easy_perform(m_curl.get());
    }

    // Closes the connection now, so QUIT is sent while the transfer's data still lives.
    void close() { m_curl.reset(); }

    // Ends the connection without the farewell: for a server that no longer answers.
    void abandon()
    {
        if (m_socket != CURL_SOCKET_BAD) ::shutdown(m_socket, SHUT_RDWR);
        m_curl.reset();
    }

private:
    QByteArray m_url;
    Conversation m_conversation;
    char m_errorBuffer[CURL_ERROR_SIZE] = {};
    curl_socket_t m_socket = CURL_SOCKET_BAD;
    CancelCheck m_cancelCheck;
    // Last, so it goes first: closing the connection still reports to the members above.
    std::unique_ptr<CURL, CurlCleanup> m_curl;
};

QString heloName()
{
    const QString name = QSysInfo::machineHostName();
    return (IsSmtpHostText(name) && !name.contains(QLatin1Char(':'))) ? name : QStringLiteral("localhost");
}

QString serverText(const SmtpSettings& settings)
{
    return QStringLiteral("%1 (port %2)").arg(settings.host).arg(settings.port);
}

// The step of the conversation a command belongs to, in words.
QString stageText(const QByteArray& command)
{
    if (command == "EHLO" || command == "HELO") return QStringLiteral("the greeting");
    if (command == "STARTTLS") return QStringLiteral("the start of the secure connection");
    if (command == "AUTH") return QStringLiteral("the login");
    if (command == "MAIL") return QStringLiteral("the sender address");
    if (command == "RCPT") return QStringLiteral("the recipient address");
    if (command == "DATA") return QStringLiteral("the transfer of the message");
    return QStringLiteral("the connection");
}

[[noreturn]] void throwFailure(CURLcode code, SmtpTransfer& transfer, const SmtpSettings& settings,
                               const QString& sender, const QString& recipient, bool messageEndSent = false)
{
    if (code == CURLE_OPERATION_TIMEDOUT || code == CURLE_ABORTED_BY_CALLBACK) transfer.abandon();
    if (code == CURLE_ABORTED_BY_CALLBACK) throw SmtpSendCancelled();
    const Conversation& talk = transfer.conversation();
    const QString server = serverText(settings);
    const QString reply = QString::fromUtf8(talk.lastReply);
    // The whole message went out but no answer to it came back: the server may
    // have taken it, so a second send could reach the recipient twice.
    if (messageEndSent && talk.lastCommand == "DATA" && talk.lastReply.startsWith('3'))
        throw AppError(QStringLiteral("The mail server %1 did not answer after the whole message was sent (%2). "
                                      "The message may have been sent: check with the recipient before "
                                      "sending it again.")
                           .arg(server, code == CURLE_OPERATION_TIMEDOUT
                                            ? QStringLiteral("no answer for %1 seconds").arg(settings.timeoutSeconds)
                                            : transfer.errorText(code)));
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        throw AppError(QStringLiteral("Could not connect to the mail server %1: the server name was not found.")
                           .arg(server));
    case CURLE_COULDNT_CONNECT:
        throw AppError(QStringLiteral("Could not connect to the mail server %1: the server refused the "
                                      "connection or cannot be reached.")
                           .arg(server));
    case CURLE_OPERATION_TIMEDOUT:
        if (!talk.anyReply)
            throw AppError(QStringLiteral("The mail server %1 did not answer within %2 seconds.")
                               .arg(server).arg(settings.timeoutSeconds));
        throw AppError(QStringLiteral("The mail server %1 stopped answering during %2 (no answer for %3 seconds).")
                           .arg(server, stageText(talk.lastCommand)).arg(settings.timeoutSeconds));
    case CURLE_LOGIN_DENIED:
        throw AppError(QStringLiteral("The mail server %1 refused the login \"%2\": %3")
                           .arg(server, settings.login, reply));
    case CURLE_USE_SSL_FAILED:
        throw AppError(QStringLiteral("The mail server %1 offered a secure connection (STARTTLS) but could "
                                      "not start it, so the password was not sent: %2")
                           .arg(server, reply.isEmpty() ? transfer.errorText(code) : reply));
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
        throw AppError(QStringLiteral("Could not set up a secure connection to the mail server %1: %2")
                           .arg(server, transfer.errorText(code)));
    default:
        break;
    }
    const QByteArray& stage = talk.lastCommand;
    if (stage == "AUTH")
        throw AppError(QStringLiteral("The mail server %1 refused the login \"%2\": %3")
                           .arg(server, settings.login, reply));
    if (stage == "MAIL")
        throw AppError(QStringLiteral("The mail server %1 refused the sender address \"%2\": %3")
                           .arg(server, sender, reply));
    if (stage == "RCPT")
        throw AppError(QStringLiteral("The mail server %1 refused the recipient address \"%2\": %3")
                           .arg(server, recipient, reply));
    if (stage == "DATA")
        throw AppError(QStringLiteral("The mail server %1 did not accept the message: %2").arg(server, reply));
    if (stage.isEmpty() && talk.anyReply)
        throw AppError(QStringLiteral("The mail server %1 refused the connection: %2").arg(server, reply));
    QString text = QStringLiteral("Sending the e-mail through the mail server %1 failed: %2")
                       .arg(server, transfer.errorText(code));
    if (!reply.isEmpty()) text += QStringLiteral(" (the server's last reply: %1)").arg(reply);
    throw AppError(text);
}

// Connects without sending anything to learn what the server offers.
Conversation probeServer(const SmtpSettings& settings, const QByteArray& url)
{
    SmtpTransfer probe(settings, url);
    curl_easy_setopt(probe.handle(), CURLOPT_CONNECT_ONLY, 1L);
    const CURLcode code = probe.perform();
    if (code != CURLE_OK) throwFailure(code, probe, settings, QString(), QString());
    probe.close();
    return probe.conversation();
}

void performSend(const SmtpSettings& settings, const QString& sender, const QString& recipient,
                 const QByteArray& message)
{
    const QByteArray url = SmtpUrl(settings.host, settings.port, heloName());

    SmtpAuthChoice auth = SmtpAuthChoice::None;
    bool startTlsOffered = false;
    if (!settings.login.isEmpty()) {
        const Conversation offer = probeServer(settings, url);
        auth = ChooseSmtpAuth(settings.login, offer.authMechanisms);
        startTlsOffered = offer.startTlsOffered;
    }

    const QByteArray from = '<' + sender.toUtf8() + '>';
    const QByteArray to = '<' + recipient.toUtf8() + '>';
    const QByteArray user = settings.login.toUtf8();
    const QByteArray password = settings.password.toUtf8();
    std::unique_ptr<curl_slist, SlistCleanup> recipients(curl_slist_append(nullptr, to.constData()));
    Upload upload{&message};

    SmtpTransfer send(settings, url, &upload);
    CURL* c = send.handle();
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, recipients.get());

    if (auth != SmtpAuthChoice::None) {
        curl_easy_setopt(c, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(c, CURLOPT_PASSWORD, password.constData());
        curl_easy_setopt(c, CURLOPT_LOGIN_OPTIONS, auth == SmtpAuthChoice::Login ? "AUTH=LOGIN" : "AUTH=PLAIN");
        // The password goes only over the secure connection the server offered.
        if (startTlsOffered) curl_easy_setopt(c, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    }

    // The message is ready-made with CRLF line ends; curl only dot-stuffs it.
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_READFUNCTION, readCallback);
    curl_easy_setopt(c, CURLOPT_READDATA, &upload);
    curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, curl_off_t(message.size()));

    const CURLcode code = send.perform();
    if (code != CURLE_OK) throwFailure(code, send, settings, sender, recipient, upload.complete);
    send.close();
}

} // namespace

namespace {

class CurlMail final : public mailplugin::Mail {
public:
    CurlMail() { curl_global_init(CURL_GLOBAL_DEFAULT); }

    mailplugin::SendOutcome send(const SmtpSettings& settings, const QString& senderAddress,
                                 const QString& recipientAddress, const QByteArray& message) override
    {
        mailplugin::SendOutcome outcome;
        try {
            performSend(settings, senderAddress, recipientAddress, message);
        } catch (const SmtpSendCancelled&) {
            outcome.cancelled = true;
        } catch (const AppError& error) {
            outcome.error = error.message();
        } catch (const std::exception& error) {
            outcome.error = QString::fromLocal8Bit(error.what());
        }
        return outcome;
    }
};

} // namespace

extern "C" __attribute__((visibility("default"))) mailplugin::Mail* FennickMail(int interfaceVersion)
{
    if (interfaceVersion != mailplugin::kInterfaceVersion) return nullptr;
    static CurlMail mail;
    return &mail;
}
