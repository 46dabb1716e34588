#pragma once
// The rules of the e-mail screen, apart from its widgets: what the boxes start
// with, when "Send Email" may be pressed, and the send itself.
#include "company/unitCompanyData.h"
#include "email/unitEmailData.h"
#include "email/unitMailMessage.h"
#include "email/unitSmtpSender.h"

// The subject box's first text: the document's caption when the company wants
// the document name and number as subject, else the company's prefilled subject.
QString InitialEmailSubject(const TrecCompanyData& company, const TrecEmailData& handOver);

// "Send Email" is enabled exactly when all three boxes are non-empty.
bool CanSendEmail(const QString& address, const QString& subject, const QString& body);

// The message as the screen sends it: from the company's name and address, to
// the hand-over's recipient name at the address typed, with the hand-over's
// file attached when attach is on and a path is given. Throws AppError when the
// sender or recipient address cannot be used or the file cannot be read.
MailMessage BuildEmailMessage(const TrecCompanyData& company, const TrecEmailData& handOver,
                              const QString& address, const QString& subject, const QString& body);

// The connection settings from the company settings; a port text that is not
// an integer throws before anything connects.
SmtpSettings SmtpSettingsFromCompany(const TrecCompanyData& company,
                                     int timeoutSeconds = kDefaultSmtpTimeoutSeconds);

// Builds the message and sends it through the company's mail server. Setting
// *cancelRequested stops the send within a second (SmtpSendCancelled is thrown).
void SendEmail(const TrecCompanyData& company, const TrecEmailData& handOver, const QString& address,
               const QString& subject, const QString& body,
               int timeoutSeconds = kDefaultSmtpTimeoutSeconds,
               const std::atomic<bool>* cancelRequested = nullptr);
