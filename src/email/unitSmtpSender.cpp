#include "email/unitSmtpSender.h"

#include "app/AppError.h"
#include "app/unitPlugin.h"
#include "db/unitStoredValues.h"
#include "email/MailPlugin.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <exception>
#include <memory>

namespace {

const TPluginInfo kMailPlugin{"fennick-mail.so", FENNICK_MAIL_SYMBOL, mailplugin::kInterfaceVersion, "mail support"};

// Runs the job on a worker thread while this thread's event loop keeps turning;
// an error thrown by the job is thrown again here.
template <typename Job>
void runOffThread(Job job)
{
    std::exception_ptr failure;
    auto guarded = [&] {
        try {
            job();
        } catch (...) {
            failure = std::current_exception();
        }
    };
    if (!QCoreApplication::instance()) {
        guarded();
    } else {
        std::unique_ptr<QThread> worker(QThread::create(guarded));
        QEventLoop loop;
        QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
        worker->start();
        loop.exec();
        worker->wait();
    }
    if (failure) std::rethrow_exception(failure);
}

} // namespace

int SmtpPortFromText(const QString& portText)
{
    if (portText.isEmpty()) return kDefaultSmtpPort;
    const int port = StrToInt(portText);
    return port > 0 ? port : kDefaultSmtpPort;
}


void SendSmtpMessage(const SmtpSettings& settings, const QString& senderAddress,
                     const QString& recipientAddress, const QByteArray& message)
{
    if (settings.host.trimmed().isEmpty())
        throw AppError(QStringLiteral("No outgoing mail (SMTP) server is set. Enter it in Company Maintenance."));
    if (!IsSmtpHostText(settings.host))
        throw AppError(QStringLiteral("The outgoing mail (SMTP) server name \"%1\" is not valid.").arg(settings.host));
    if (settings.port <= 0 || settings.port > 65535)
        throw AppError(QStringLiteral("The mail server port %1 is not valid.").arg(settings.port));

    // Loaded here, on the screen's thread, the first time a message is sent.
    static mailplugin::Mail& mail = LoadPlugin<mailplugin::Mail>(kMailPlugin);
    mailplugin::SendOutcome outcome;
    runOffThread([&] { outcome = mail.send(settings, senderAddress, recipientAddress, message); });
    if (outcome.cancelled) throw SmtpSendCancelled();
    if (!outcome.error.isEmpty()) throw AppError(outcome.error);
}
