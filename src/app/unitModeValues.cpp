#include "app/unitModeValues.h"

int intCurrentInvNumber = 0;
bool blInvoiceEditExisting = false;
bool blManualInvoice = false;
bool blShowUnpaidOnly = false;
int intContractWarrantyMode = 0;
