#include "maintenance/unitManualForms.h"

#include "app/unitModeValues.h"
#include "app/unitRegional.h"
#include "db/DbConnection.h"
#include "documents/unitDocumentStore.h"

QString ManualFormCopiesLabel(int typeIndex)
{
    static const char* const plurals[kInvTypeCount] = {"Estimates", "Work Orders", "Change Orders",
                                                       "Invoices",  "Credits",     "Past Due Notices"};
    if (typeIndex < 0 || typeIndex >= kInvTypeCount) return QString();
    return QStringLiteral("Number of %1 to print").arg(QLatin1String(plurals[typeIndex]));
}

QStringList ManualFormPaymentTerms(const TrecCmpnyInvData& settings)
{
    QStringList terms{QStringLiteral("No Payment Terms")};
    for (int index = 1; index <= 10; ++index)
        if (!settings.strInvTerms[std::size_t(index)].isEmpty()) terms << settings.strInvTerms[std::size_t(index)];
    return terms;
}

QStringList ManualFormFootNoteChoices()
{
    return {QStringLiteral("No Foot Notes"), QStringLiteral("Foot Note 1"), QStringLiteral("Foot Note 2"),
            QStringLiteral("Foot Note 3")};
}

TManualFormTexts ManualFormTexts(const TManualFormChoice& choice, int estimateDays)
{
    TManualFormTexts texts;
    texts.strInvType = choice.typeName;
    texts.strInvDate = QStringLiteral("Date:____/____/________");
    if (choice.typeName.compare(QStringLiteral("Estimate"), Qt::CaseInsensitive) == 0 && estimateDays >= 1)
        texts.strInvValidFor = QStringLiteral("Estimate Valid for %1 days").arg(estimateDays);
    texts.strCustPmtTerms = choice.paymentTerm;
    texts.strTotalHdng = choice.typeName + QStringLiteral(" Total");
    texts.blSignatureLine = choice.signatureLine;
    texts.intFootNote = choice.footNote;
    return texts;
}

TInvDocument ManualFormDocument(const TManualFormChoice& choice, int number, const QDate& printed)
{
    TInvDocument document;
    document.header.intInvNumber = number;
    document.header.strInvName = choice.typeName;
    document.header.strInvTerms = choice.paymentTerm;
    document.header.intInvFootNotes = choice.footNote;
    // A stored document always carries a date the store can read back.
    document.header.strInvDate = DateToStr(printed);
    return document;
}

int RunManualForms(const TManualFormChoice& choice, int copies, const std::function<bool()>& stopRequested,
                   const std::function<void(int number)>& printCopy)
{
    int printed = 0;
    for (int copy = 0; copy < copies; ++copy) {
        if (stopRequested && stopRequested()) break;
        DbConnection connection;
        // The form is recorded before it prints and kept only when it printed:
        // a form that cannot be recorded is never printed (its number would be
        // given again), and one that cannot be printed leaves its number free.
        DbTransaction transaction(connection);
        // The number is taken with the counter locked until the form printed.
        const int number = InsertNewDocument(
            connection, ManualFormDocument(choice, GetNextInvNumber(connection), QDate::currentDate()), true);
        intCurrentInvNumber = number;
        printCopy(number);
        transaction.commit();
        ++printed;
    }
    return printed;
}
