#include "app/unitDispatch.h"

#include "email/unitfrmEmail.h"

#include "shell/unitfrmAbout.h"

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

void OpenNewDocument()
{
    intCurrentInvNumber = GetNextInvNumber();
    blManualInvoice = false;
    blInvoiceEditExisting = false;
    RunScreen<TfrmInvoice>();
}

void OpenStoredDocument()
{
    blManualInvoice = false;
    blInvoiceEditExisting = true;
    RunScreen<TfrmInvoice>();
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

void OpenCustomers() { RunScreen<TfrmCustomer>(TCustomerScreenMode::Maintenance); }

std::optional<TrecCustomerPick> PickCustomer()
{
    TfrmCustomer screen(TCustomerScreenMode::Pick);
    RunModal(screen);
    return screen.pickedCustomer();
}

void OpenPriceSheet() { RunScreen<TfrmPrice>(TPriceScreenMode::Maintenance); }

void PickPriceItem() { RunScreen<TfrmPrice>(TPriceScreenMode::Pick); }

void OpenInvoiceMaintenance()
{
    blShowUnpaidOnly = false;
    RunScreen<TfrmInvoiceMaintenance>();
}

void ShowUnpaidInvoices()
{
    blShowUnpaidOnly = true;
    RunScreen<TfrmInvoiceMaintenance>();
}

void OpenReports() { RunScreen<TfrmReport>(); }

void OpenManualForms() { RunScreen<TfrmManualInvoice>(); }

void OpenAboutBox() { RunScreen<TfrmAbout>(); }

void OpenSharedDatabase() { RunScreen<TfrmSharedDatabase>(); }

void OpenEmail() { RunScreen<TfrmEmail>(); }

void OpenCompanyInfo() { RunScreen<TfrmCompanyInfo>(); }

void OpenContractWriter()
{
    intContractWarrantyMode = 1;
    RunScreen<TfrmTextEditor>();
}

void OpenWarrantyWriter()
{
    intContractWarrantyMode = 0;
    RunScreen<TfrmTextEditor>();
}

void OpenPlanner() { RunScreen<TfrmPlanner>(); }
