#pragma once
// What a caller leaves for the print module before it prints: the job kind,
// the print record of a document, and (for the list jobs) the rows of the list
// on screen with the captions that go with them. The document's lines and notes
// travel in the holders ListViewPriceItems and txtInvoiceNotes.
#include "printing/unitPrintFeeds.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

// The print job kinds of intPrintJob.
enum TPrintJob : int {
    pjDocument = 1,
    pjPriceSheet = 2,
    pjCustomerList = 3,
    pjPlanner = 4,
    pjContract = 5,
    pjWarranty = 6,
    pjTaxSalesReport = 7,
};

extern int intPrintJob;

struct TrecPrintData {
    QString strInvType;            // one of arrInvTypeNames (any letter case)
    QString strInvDate;
    QString strInvValidFor;
    QString strCustCompany;
    QString strCustName;
    QString strCustAddress;
    QString strCustCityStZip;
    QString strCustPhoneFax;
    QString strCustPmtTerms;
    QString strCustPONumber;
    QString strCustTaxExemptNum;
    QString strDepositPaidHdng;    // "Deposit Required" / "Amount Paid" (empty on manual forms)
    QString strTotalHdng;          // for example "Invoice Total", "Paid In Full"
    QString strDepositPaid;        // amounts already formatted as money
    QString strTax;
    QString strSubTotal;
    QString strTotal;
    std::uint8_t blPrintOnLoad = 0;
    bool blSignatureLine = false;
    bool blPrintContract = false;
    bool blPrintWarranty = false;
    std::int32_t intFootNote = 0;  // 0 none, 1..3 company foot note 1..3
};

extern TrecPrintData recPrintData;

// The list screens' rows as they stand when printing starts, in list order.
struct TrecPrintLists {
    // Customer list (job 3): the "Cust ID" of every listed customer.
    QStringList customerIds;
    // Price sheet (job 2): the price list's entries.
    QList<TPriceSheetPrintRow> priceRows;
    // Planner (job 4): the entries of the activity list, which list kind the
    // planner shows (0 day, 1 week, 2 month: the index of its planner type) and
    // its current date caption.
    QList<TPlannerPrintRow> plannerRows;
    int plannerListKind = 0;
    QString plannerDates;
    // Sales and tax report (job 7): the report type (0 sales, 1 tax, 2 both),
    // the captions of the result list's first seven columns (empty when hidden)
    // and its rows as displayed.
    int reportType = 0;
    std::array<QString, 7> reportHeadings;
    QList<TReportPrintRow> reportRows;
};

extern TrecPrintLists recPrintLists;
