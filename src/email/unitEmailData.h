#pragma once
// The e-mail hand-over: a caller fills recEmailData immediately before it runs
// the e-mail screen, and the screen empties it when it closes.
#include <QString>

struct TrecEmailData {
    QString strRecipientAddress;  // the To address offered in the address box
    QString strRecipientName;     // display name of the To address (not editable on screen)
    QString strSubject;           // the document's name-and-number caption, when that setting is on
    QString strAttachmentPath;    // full path of the file to attach
    bool blAttach = false;        // attach the file at strAttachmentPath
};

extern TrecEmailData recEmailData;

// The document editor's hand-over. The recipient name is the customer's company
// when it has one, else the customer name line; the document's caption becomes
// the subject only when subjectFromDocument (the company's
// blCompEmailSubjectInvNameNum) is on, otherwise the subject stays empty and the
// screen offers the company's prefilled subject.
void SetEmailDataForDocument(const QString& customerEmail, const QString& customerCompany,
                             const QString& customerNameLine, const QString& pdfPath,
                             const QString& documentCaption, bool subjectFromDocument);

// The customer screen's hand-over: no attachment and no subject. The recipient
// name is the company when it has one, else first name, " ", last name.
void SetEmailDataForCustomer(const QString& customerEmail, const QString& customerCompany,
                             const QString& firstName, const QString& lastName);

// What the e-mail screen does on closing: every field empty, attach off.
void ClearEmailData();

// Where the editor writes the PDF it attaches: the temp folder, the type name
// and the number with no blank between them ("Work Order502.pdf").
QString EmailAttachmentPath(const QString& typeName, int documentNumber);
