#include "email/unitEmailData.h"

#include "app/unitAppInfo.h"

TrecEmailData recEmailData;

void SetEmailDataForDocument(const QString& customerEmail, const QString& customerCompany,
                             const QString& customerNameLine, const QString& pdfPath,
                             const QString& documentCaption, bool subjectFromDocument)
{
    recEmailData.strRecipientAddress = customerEmail;
    recEmailData.strRecipientName = customerCompany.isEmpty() ? customerNameLine : customerCompany;
    recEmailData.blAttach = true;
    recEmailData.strAttachmentPath = pdfPath;
    recEmailData.strSubject = subjectFromDocument ? documentCaption : QString();
}

void SetEmailDataForCustomer(const QString& customerEmail, const QString& customerCompany,
                             const QString& firstName, const QString& lastName)
{
    recEmailData.strRecipientAddress = customerEmail;
    recEmailData.strRecipientName =
        customerCompany.isEmpty() ? firstName + QLatin1Char(' ') + lastName : customerCompany;
    recEmailData.blAttach = false;
    recEmailData.strSubject.clear();
    recEmailData.strAttachmentPath.clear();
}

void ClearEmailData() { recEmailData = TrecEmailData{}; }

QString EmailAttachmentPath(const QString& typeName, int documentNumber)
{
    return GetTempFolder() + QLatin1Char('/') + typeName + QString::number(documentNumber)
         + QStringLiteral(".pdf");
}
