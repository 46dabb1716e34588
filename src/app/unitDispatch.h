#pragma once
// The dispatch operations, declared here on the ground floor and defined in
// shell/, the one place that knows every screen. Each sets the mode values its
// screen reads, creates the screen, runs it modally through RunModal and destroys
// it when the run ends, also when the run ends by an error. Screens open other screens only through
// these functions, so a test can take over any modal run.
#include "app/unitModalRunner.h"

#include <optional>
#include <utility>

// Creates the screen for one modal run and destroys it afterwards. The screen
// lives on the stack, so an exception leaving the run still destroys it.
template <typename Screen, typename... Args>
int RunScreen(Args&&... args)
{
    Screen screen(std::forward<Args>(args)...);
    return RunModal(screen);
}

// ---- document editor and its dialogs
class QString;
struct TInvLine;
struct TPaidAndDepositValues;
enum class TLineEditOutcome : int;

// New document: intCurrentInvNumber := the counter's next number,
// blManualInvoice := false, blInvoiceEditExisting := false; runs the editor.
void OpenNewDocument();
// Stored document intCurrentInvNumber (set by the caller): blManualInvoice :=
// false, blInvoiceEditExisting := true; runs the editor.
void OpenStoredDocument();
// Notes dialog; true on "OK", and notes then holds the new text.
bool EditInvoiceNotes(const QString& typeName, int number, QString& notes);
// Line item dialog; on Edited, line holds the new values.
TLineEditOutcome EditInvoiceLine(TInvLine& line, const QString& displayName);
// Payment/deposit dialog; true on "OK", and values then holds the dialog's values.
bool EditPaidAndDeposit(TPaidAndDepositValues& values);

// ---- customers and price sheet
struct TrecCustomerPick;
// Customer screen in maintenance mode.
void OpenCustomers();
// Customer screen in pick mode: the customer block chosen with "Use This
// Customer", if any.
std::optional<TrecCustomerPick> PickCustomer();
// Price sheet in maintenance mode.
void OpenPriceSheet();
// Price sheet in pick mode: "Add To Invoice" fills recPrices (empty item name:
// nothing picked).
void PickPriceItem();

// ---- invoice maintenance
// Invoice maintenance in mode 0: blShowUnpaidOnly := false.
void OpenInvoiceMaintenance();
// Invoice maintenance showing the unpaid invoices: blShowUnpaidOnly := true.
void ShowUnpaidInvoices();
// The reports screen over the monthly sales and tax ledger.
void OpenReports();
// The manual forms screen; opening it sets blManualInvoice and clears
// blInvoiceEditExisting.
void OpenManualForms();

// The about box.
void OpenAboutBox();

// ---- shared database
// The Shared Database screen: this computer's file or a server, from the next start.
void OpenSharedDatabase();

// ---- e-mail
// The e-mail screen. The caller fills recEmailData first (SetEmailDataForDocument
// or SetEmailDataForCustomer, email/unitEmailData.h); the screen empties it and
// the temp folder when it closes.
void OpenEmail();

// ---- company settings
// The company screen; after a save the settings in memory hold the new values.
void OpenCompanyInfo();

// ---- contract and warranty writer
// The writer in contract mode: intContractWarrantyMode := 1.
void OpenContractWriter();
// The writer in warranty mode: intContractWarrantyMode := 0.
void OpenWarrantyWriter();

// ---- planner
// The planner screen.
void OpenPlanner();
