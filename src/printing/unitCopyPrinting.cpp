#include "printing/unitCopyPrinting.h"

#include "app/unitModeValues.h"
#include "app/unitRegional.h"
#include "documents/unitDocumentCopy.h"
#include "printing/unitModPrintData.h"
#include "printing/unitPrintData.h"

#include <QDate>

void SetCopyPrintData(const TInvDocument& copy)
{
    const TInvHeader& h = copy.header;
    const TCopyPrintTotals totals = GetCopyPrintTotals(h);
    intPrintJob = pjDocument;
    intCurrentInvNumber = h.intInvNumber;

    TrecPrintData& p = recPrintData;
    p.strInvType = h.strInvName;
    p.strInvDate = DisplayDate(QDate::currentDate());   // printed with today's date; stored with its own
    p.strInvValidFor.clear();
    p.strCustCompany = h.strCustCmpnyName;
    p.strCustName = h.strCustFullName;
    p.strCustAddress = h.strCustAddress;
    p.strCustCityStZip = h.strCustCtyStZp;
    p.strCustPhoneFax = h.strCustPhnFax;
    p.strCustPmtTerms = h.strInvTerms;
    p.strCustPONumber = h.strCustPONumber;
    p.strCustTaxExemptNum = h.strCustTaxExemptNum;
    p.strDepositPaidHdng = QStringLiteral("Amount Paid");
    p.strTotalHdng = QStringLiteral("Invoice Total");
    p.strDepositPaid = totals.strDepositPaid;
    p.strTax = totals.strTax;
    p.strSubTotal = totals.strSubTotal;
    p.strTotal = totals.strTotal;
    p.blPrintOnLoad = 1;
    p.blSignatureLine = false;
    p.blPrintContract = false;
    p.blPrintWarranty = false;
    p.intFootNote = h.intInvFootNotes;
}

void PrintDocumentCopy(const TInvDocument& copy)
{
    SetCopyPrintData(copy);
    // The flag marks a copy only while it prints.
    struct ResetPrintOnLoad {
        ~ResetPrintOnLoad() { recPrintData.blPrintOnLoad = 0; }
    } reset;
    modPrintData.pPrint();
}

void InstallCopyPrinter() { SetCopyPrinter(PrintDocumentCopy); }
