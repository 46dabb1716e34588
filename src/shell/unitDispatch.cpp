#include "app/unitDispatch.h"

#include "email/unitfrmEmail.h"

#include "shell/unitfrmAbout.h"

#include "company/unitCompanyStore.h"
#include "company/unitfrmCompanyInfo.h"
#include "customers/unitfrmCustomer.h"
#include "prices/unitfrmPrice.h"

#include "app/unitModeValues.h"
#include "editor/UnitfrmInvoicePriceItemEdit.h"
#include "documents/unitDocumentStore.h"
#include "editor/unitfrmInvoice.h"
#include "editor/unitfrmInvoiceNotes.h"
#include "editor/unitfrmPaidAndDeposit.h"
#include "maintenance/unitfrmInvoiceMaintenance.h"
#include "maintenance/unitfrmManualInvoice.h"
#include "maintenance/unitfrmReport.h"
#include "planner/unitfrmPlanner.h"
#include "server/unitfrmSharedDatabase.h"
#include "writer/unitfrmTextEditor.h"

namespace {

// A screen opened from the main window works with the settings as they are
// stored now: another seat may have changed the company profile, taxes, terms
// or colours since they were read. (The picks made from within the editor
// keep the editor's settings.)
template <typename Screen, typename... Args>
int RunScreenOnCurrentSettings(Args&&... args)
{
    UseStoredCompanySettings();
    return RunScreen<Screen>(std::forward<Args>(args)...);
}

} // namespace

void OpenNewDocument()
{
    intCurrentInvNumber = GetNextInvNumber();
    blManualInvoice = false;
    blInvoiceEditExisting = false;
    RunScreenOnCurrentSettings<TfrmInvoice>();
}

void OpenStoredDocument()
{
    blManualInvoice = false;
    blInvoiceEditExisting = true;
    RunScreenOnCurrentSettings<TfrmInvoice>();
}

bool EditInvoiceNotes(const QString& typeName, int number, QString& notes)
{
    TfrmInvoiceNotes dialog(typeName, number, notes);
    if (RunModal(dialog) != QDialog::Accepted) return false;
    notes = dialog.notes();
    return true;
}

TLineEditOutcome EditInvoiceLine(TInvLine& line, const QString& displayName)
{
    TfrmInvoicePriceItemEdit dialog(line, displayName);
    RunModal(dialog);
    if (dialog.outcome() == TLineEditOutcome::Edited) line = dialog.line();
    return dialog.outcome();
}

bool EditPaidAndDeposit(TPaidAndDepositValues& values)
{
    TfrmPaidAndDeposit dialog(values);
    if (RunModal(dialog) != QDialog::Accepted) return false;
    values = dialog.values();
    return true;
}

void OpenCustomers() { RunScreenOnCurrentSettings<TfrmCustomer>(TCustomerScreenMode::Maintenance); }

std::optional<TrecCustomerPick> PickCustomer()
{
    TfrmCustomer screen(TCustomerScreenMode::Pick);
    RunModal(screen);
    return screen.pickedCustomer();
}

void OpenPriceSheet() { RunScreenOnCurrentSettings<TfrmPrice>(TPriceScreenMode::Maintenance); }

void PickPriceItem() { RunScreen<TfrmPrice>(TPriceScreenMode::Pick); }

void OpenInvoiceMaintenance()
{
    blShowUnpaidOnly = false;
    RunScreenOnCurrentSettings<TfrmInvoiceMaintenance>();
}

void ShowUnpaidInvoices()
{
    blShowUnpaidOnly = true;
    RunScreenOnCurrentSettings<TfrmInvoiceMaintenance>();
}

void OpenReports() { RunScreenOnCurrentSettings<TfrmReport>(); }

void OpenManualForms() { RunScreenOnCurrentSettings<TfrmManualInvoice>(); }

void OpenAboutBox() { RunScreen<TfrmAbout>(); }

void OpenSharedDatabase() { RunScreen<TfrmSharedDatabase>(); }

void OpenEmail() { RunScreenOnCurrentSettings<TfrmEmail>(); }

void OpenCompanyInfo() { RunScreen<TfrmCompanyInfo>(); }

void OpenContractWriter()
{
    intContractWarrantyMode = 1;
    RunScreenOnCurrentSettings<TfrmTextEditor>();
}

void OpenWarrantyWriter()
{
    intContractWarrantyMode = 0;
    RunScreenOnCurrentSettings<TfrmTextEditor>();
}

void OpenPlanner() { RunScreenOnCurrentSettings<TfrmPlanner>(); }
