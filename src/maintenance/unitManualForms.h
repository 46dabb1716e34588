#pragma once
// Numbered blank forms, without a window: the choices the manual forms screen
// offers, the texts a blank form prints, and the run that gives every copy the
// next document number, prints it and records it as a stored document.
#include "company/unitCompanyData.h"
#include "documents/unitDocumentModel.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

// "Number of Estimates to print" ... "Number of Past Due Notices to print",
// for a position in arrInvTypeNames.
QString ManualFormCopiesLabel(int typeIndex);
// "No Payment Terms", then every non-empty company payment term 1 to 10.
QStringList ManualFormPaymentTerms(const TrecCmpnyInvData& settings);
// "No Foot Notes", "Foot Note 1", "Foot Note 2", "Foot Note 3".
QStringList ManualFormFootNoteChoices();

// What the screen's controls hold when printing starts.
struct TManualFormChoice {
    QString typeName;        // one of arrInvTypeNames
    QString paymentTerm;     // empty for "No Payment Terms"
    int footNote = 0;        // 0 none, 1..3
    bool signatureLine = false;
};

// The texts of one blank form, ready for the print record.
struct TManualFormTexts {
    QString strInvType;
    QString strInvDate;       // "Date:____/____/________"
    QString strInvValidFor;   // "Estimate Valid for N days" on an estimate with N >= 1, else empty
    QString strCustPmtTerms;
    QString strTotalHdng;     // type name + " Total"
    bool blSignatureLine = false;
    int intFootNote = 0;
};
TManualFormTexts ManualFormTexts(const TManualFormChoice& choice, int estimateDays);

// The stored record of a printed form: its number, type, terms and foot note,
// no customer, no lines, zero amounts, dated the day it was printed.
TInvDocument ManualFormDocument(const TManualFormChoice& choice, int number, const QDate& printed);

// Prints `copies` forms. For each, unless stopRequested() says stop: the next
// document number goes to intCurrentInvNumber, the form is recorded with the
// counter moved on, printCopy(number) prints it, and only then is the record
// committed, all in one transaction. A copy that cannot be recorded is not
// printed; one whose printing throws is rolled back: either error ends the run
// and leaves the database as it was before that copy. stopRequested is asked
// before each copy, outside any transaction. Returns the number of copies
// printed and recorded.
int RunManualForms(const TManualFormChoice& choice, int copies, const std::function<bool()>& stopRequested,
                   const std::function<void(int number)>& printCopy);
