#include "documents/unitDocumentLedgerRules.h"

#include "app/unitRegional.h"
#include "app/unitfrmSaving.h"
#include "db/DbConnection.h"

#include <algorithm>
#include <utility>

TLedgerPlan PlanLedgerOnSave(const QString& typeName, const TLedgerAmounts& current, const QDate& invDate,
                             bool paidInFull, const TrecSavedData& saved)
{
    TLedgerPlan plan;
    plan.blSavedToReport = saved.blSavedToReport;
    if (SameInvType(typeName, arrInvTypeNames[itInvoice])) {
        if (plan.blSavedToReport) {
            plan.postings.append({saved.amounts.negated(), saved.dtInvDate});
            plan.blSavedToReport = false;
        }
        if (paidInFull) {
            plan.postings.append({current, invDate});
            plan.blSavedToReport = true;
        }
    } else if (SameInvType(typeName, arrInvTypeNames[itCredit])) {
        if (plan.blSavedToReport && !SameInvType(saved.strInvName, arrInvTypeNames[itInvoice]))
            plan.postings.append({saved.amounts, saved.dtInvDate});
        plan.postings.append({current.negated(), invDate});
        plan.blSavedToReport = true;
    }
    return plan;
}

TSaveOutcome SaveDocumentWithLedger(const TInvDocument& document, const TrecSavedData& saved, bool editExisting)
{
    const TInvHeader& h = document.header;
    ShowSavingNotice(QStringLiteral("Saving %1...").arg(InvDisplayName(h.strInvName, h.intInvNumber)));
    DbConnection connection;
    return SaveDocumentWithLedger(connection, document, saved, editExisting);
}

TSaveOutcome SaveDocumentWithLedger(DbConnection& connection, const TInvDocument& document, const TrecSavedData& saved,
                                    bool editExisting)
{
    const TInvHeader& h = document.header;
    // Only the types that reach the ledger need a valid date.
    const bool postsToLedger =
        SameInvType(h.strInvName, arrInvTypeNames[itInvoice]) || SameInvType(h.strInvName, arrInvTypeNames[itCredit]);
    const QDate invDate = postsToLedger ? StrToDate(h.strInvDate) : QDate();
    TLedgerPlan plan = PlanLedgerOnSave(h.strInvName, LedgerAmountsOf(h), invDate, h.strPaidInFull, saved);
    // Months are locked in date order by every save, so two seats never each
    // hold a month the other waits for; postings of one month keep their order.
    std::stable_sort(plan.postings.begin(), plan.postings.end(), [](const TLedgerPosting& a, const TLedgerPosting& b) {
        return std::pair(a.date.year(), a.date.month()) < std::pair(b.date.year(), b.date.month());
    });
    TInvDocument stored = document;
    stored.header.strSavedToReport = plan.blSavedToReport;

    TSaveOutcome outcome;
    // The rows the save depends on are locked in one order: the counter (a new
    // document's number), the ledger months, then the stored record.
    DbTransaction::Run(connection, [&] {
        const int number = editExisting ? h.intInvNumber : TakeDocumentNumber(connection, h.intInvNumber);
        for (const TLedgerPosting& posting : plan.postings)
            PostToMonthlyLedger(connection, posting.amounts, posting.date);
        stored.header.intInvNumber = number;
        if (editExisting) {
            CheckUnchangedSinceOpened(connection, number, saved);
            SaveDocument(connection, stored, true, false);
        } else {
            WriteNewDocument(connection, stored, number, false);
        }
        outcome.intInvNumber = number;
    });
    outcome.blInserted = !editExisting;
    outcome.blSavedToReport = plan.blSavedToReport;
    return outcome;
}
