#include "email/unitEmailSend.h"

#include "app/AppError.h"

QString InitialEmailSubject(const TrecCompanyData& company, const TrecEmailData& handOver)
{
    return company.blCompEmailSubjectInvNameNum ? handOver.strSubject : company.strCompEmailSubject;
}

bool CanSendEmail(const QString& address, const QString& subject, const QString& body)
{
    return !address.isEmpty() && !subject.isEmpty() && !body.isEmpty();
}

MailMessage BuildEmailMessage(const TrecCompanyData& company, const TrecEmailData& handOver,
                              const QString& address, const QString& subject, const QString& body)
{
    MailMessage message;
    // The company address may be written as "Name <address>"; the company name is shown.
    message.from = {company.strCompName, ParseMailAddress(company.strCompEmail)};
    if (!IsUsableMailAddress(message.from.address))
        throw AppError(QStringLiteral("The company e-mail address \"%1\" cannot be used as the sender. "
                                      "Enter a valid address in Company Maintenance.")
                           .arg(company.strCompEmail));
    message.subject = subject;
    message.body = body;
    message.to = {handOver.strRecipientName, ParseMailAddress(address)};
    if (!IsUsableMailAddress(message.to.address))
        throw AppError(QStringLiteral("The e-mail address \"%1\" is not valid.").arg(address));
    // Both addresses go to the server with their domains in ASCII form.
    message.from.address = ToAsciiMailAddress(message.from.address);
    message.to.address = ToAsciiMailAddress(message.to.address);
    if (handOver.blAttach && !handOver.strAttachmentPath.isEmpty())
        message.attachment = ReadMailAttachment(handOver.strAttachmentPath);
    return message;
}

SmtpSettings SmtpSettingsFromCompany(const TrecCompanyData& company, int timeoutSeconds)
{
    SmtpSettings settings;
    settings.host = company.strCompEmailHost.trimmed();
    settings.port = SmtpPortFromText(company.strCompEmailPort);
    settings.login = company.strCompEmailLogin;
    settings.password = company.strCompEmailPassword;
    settings.timeoutSeconds = timeoutSeconds;
    return settings;
}

void SendEmail(const TrecCompanyData& company, const TrecEmailData& handOver, const QString& address,
               const QString& subject, const QString& body, int timeoutSeconds,
               const std::atomic<bool>* cancelRequested)
{
    const MailMessage message = BuildEmailMessage(company, handOver, address, subject, body);
    SmtpSettings settings = SmtpSettingsFromCompany(company, timeoutSeconds);
    settings.cancelRequested = cancelRequested;
    SendSmtpMessage(settings, message.from.address, message.to.address, ComposeMailMessage(message));
}
