#include "documents/unitDocumentLedgerRules.h"

#include "app/unitRegional.h"
#include "app/unitfrmSaving.h"
#include "db/DbConnection.h"

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
    // Only the types that reach the ledger need a valid date.
    const bool postsToLedger =
        SameInvType(h.strInvName, arrInvTypeNames[itInvoice]) || SameInvType(h.strInvName, arrInvTypeNames[itCredit]);
    const QDate invDate = postsToLedger ? StrToDate(h.strInvDate) : QDate();
    const TLedgerPlan plan = PlanLedgerOnSave(h.strInvName, LedgerAmountsOf(h), invDate, h.strPaidInFull, saved);
    TInvDocument stored = document;
    stored.header.strSavedToReport = plan.blSavedToReport;

    ShowSavingNotice(QStringLiteral("Saving %1...").arg(InvDisplayName(h.strInvName, h.intInvNumber)));
    DbConnection connection;
    DbTransaction transaction(connection);
    for (const TLedgerPosting& posting : plan.postings)
        PostToMonthlyLedger(connection, posting.amounts, posting.date);
    TSaveOutcome outcome;
    outcome.blInserted = SaveDocument(connection, stored, editExisting, false);
    transaction.commit();
    outcome.blSavedToReport = plan.blSavedToReport;
    return outcome;
}
