#include "app/unitDispatch.h"

#include "email/unitfrmEmail.h"

#include "app/unitfrmAbout.h"

#include "customers/unitfrmCustomer.h"
#include "prices/unitfrmPrice.h"

void OpenCustomers() { RunScreen<TfrmCustomer>(TCustomerScreenMode::Maintenance); }

std::optional<TrecCustomerPick> PickCustomer()
{
    TfrmCustomer screen(TCustomerScreenMode::Pick);
    RunModal(screen);
    return screen.pickedCustomer();
}

void OpenPriceSheet() { RunScreen<TfrmPrice>(TPriceScreenMode::Maintenance); }

void PickPriceItem() { RunScreen<TfrmPrice>(TPriceScreenMode::Pick); }

void OpenAboutBox() { RunScreen<TfrmAbout>(); }

void OpenEmail() { RunScreen<TfrmEmail>(); }
