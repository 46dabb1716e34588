#include "documents/unitDocumentCopy.h"

#include "app/AppError.h"
#include "documents/unitMainCounters.h"
#include "app/unitRegional.h"
#include "app/unitfrmSaving.h"
#include "db/DbConnection.h"
#include "db/unitStoredValues.h"
#include "documents/unitDocumentStore.h"
#include "documents/unitInvoiceHolders.h"

namespace {

TCopyPrinter& copyPrinter()
{
    static TCopyPrinter printer;
    return printer;
}

// Reads the header and lines of a stored document for copying: every value as
// stored, flags converted from their text.
TInvDocument ReadForCopy(int number)
{
    TInvDocument source;
    TInvHeader& h = source.header;
    DbConnection connection;
    DbStatement read = connection.prepare(
        QStringLiteral("SELECT intInvNumber,strInvName,strCustCmpnyName,strCustFullName,strCustAddress,strCustCtyStZp,"
                       "strCustPhnFax,strCustEmail,strInvTerms,intInvFootNotes,strUseTax1,strUseTax2,strUseTax3,"
                       "strInvNotes,strCustTaxExempt,strCustTaxExemptNum,strCustPONumber,strFromInvNameNumber,"
                       "strFutureInfo,strPaidInFull,strRecurring,strSavedToReport,dbLbrTax1Total,dbLbrTax2Total,"
                       "dbLbrTax3Total,dbMatTax1Total,dbMatTax2Total,dbMatTax3Total,dbLbrTotal,dbMatTotal,"
                       "dbAmountPaid,dbDepAmount,dbInvTotal,strInvDate FROM tblInvDataHeader  WHERE intInvNumber = ?;"),
        {number});
    if (!read.step()) throw AppError(DocumentNotFoundMessage(number));
    h.intInvNumber = read.columnInt(0);
    h.strInvName = read.columnText(1);
    h.strCustCmpnyName = read.columnText(2);
    h.strCustFullName = read.columnText(3);
    h.strCustAddress = read.columnText(4);
    h.strCustCtyStZp = read.columnText(5);
    h.strCustPhnFax = read.columnText(6);
    h.strCustEmail = read.columnText(7);
    h.strInvTerms = read.columnText(8);
    h.intInvFootNotes = read.columnInt(9);
    h.strUseTax1 = StrToBool(read.columnText(10));
    h.strUseTax2 = StrToBool(read.columnText(11));
    h.strUseTax3 = StrToBool(read.columnText(12));
    source.strInvNotes = read.columnText(13);
    h.strCustTaxExempt = StrToBool(read.columnText(14));
    h.strCustTaxExemptNum = read.columnText(15);
    h.strCustPONumber = read.columnText(16);
    h.strFromInvNameNumber = read.columnText(17);
    h.strFutureInfo = read.columnText(18);
    h.strPaidInFull = StrToBool(read.columnText(19));
    h.strRecurring = StrToBool(read.columnText(20));
    h.strSavedToReport = StrToBool(read.columnText(21));
    h.dbLbrTax1Total = read.columnDouble(22);
    h.dbLbrTax2Total = read.columnDouble(23);
    h.dbLbrTax3Total = read.columnDouble(24);
    h.dbMatTax1Total = read.columnDouble(25);
    h.dbMatTax2Total = read.columnDouble(26);
    h.dbMatTax3Total = read.columnDouble(27);
    h.dbLbrTotal = read.columnDouble(28);
    h.dbMatTotal = read.columnDouble(29);
    h.dbAmountPaid = read.columnDouble(30);
    h.dbDepAmount = read.columnDouble(31);
    h.dbInvTotal = read.columnDouble(32);
    h.strInvDate = read.columnText(33);
    read.finalize();

    DbStatement lines = connection.prepare(
        QStringLiteral("SELECT strPrcItemName,strPrcItmQuantity,strLabTax,strMatTax,dbLbrPrc,dbMatPrc "
                       "FROM tblInvData WHERE intInvNumber = ? ORDER BY intInvDataID;"),
        {number});
    while (lines.step()) {
        source.lines.append({lines.columnText(0), lines.columnText(1), lines.columnText(2), lines.columnText(3),
                             FloatToStr(lines.columnDouble(4)), FloatToStr(lines.columnDouble(5))});
    }
    lines.finalize();
    // The copy names the same buyer as its source.
    source.buyer = ReadBuyerTaxData(connection, number);
    return source;
}

} // namespace

void SetCopyPrinter(TCopyPrinter printer) { copyPrinter() = std::move(printer); }
bool HasCopyPrinter() { return bool(copyPrinter()); }

TCopyPrintTotals GetCopyPrintTotals(const TInvHeader& h)
{
    using Extended = long double;
    const Extended subTotal = Extended(h.dbLbrTotal) + h.dbMatTotal;
    const Extended tax = Extended(h.dbLbrTax1Total) + h.dbLbrTax2Total + h.dbLbrTax3Total + h.dbMatTax1Total +
                         h.dbMatTax2Total + h.dbMatTax3Total;
    return {FormatMoney(h.dbAmountPaid), FormatMoney(double(subTotal)), FormatMoney(double(tax)),
            FormatMoney(double(subTotal + tax))};
}

namespace {

void StampLastPrintedToday(DbConnection& connection)
{
    connection.executeOnRow(
        QStringLiteral("UPDATE tblRecurring SET strLastPrintedDate = ? WHERE intRecurringID = 1;"),
        {DateToStr(QDate::currentDate())}, MissingRowMessage(QStringLiteral("recurring invoices")));
}

// CopyDocument, with the recurring run's date stamp written in the copy's own
// transaction when stampLastPrinted: a copy is never stored without it.
int StoreCopy(int sourceNumber, const QString& newTypeName, const QString& sourceReference, bool keepRecurring,
              bool printOnLoad, bool stampLastPrinted)
{
    if (printOnLoad && !HasCopyPrinter()) throw AppError(QStringLiteral("Printing is not available"));

    TInvDocument copy = ReadForCopy(sourceNumber);
    TInvHeader& h = copy.header;
    h.strInvName = newTypeName;
    h.strFromInvNameNumber = sourceReference;
    if (!keepRecurring) h.strRecurring = false;

    DbConnection connection;
    // The number is taken (the counter locked) before the copy prints, so the
    // paper carries the number it is stored under, also when another seat
    // saves at the same moment; a failure stores nothing.
    DbTransaction transaction(connection);
    h.intInvNumber = TakeDocumentNumber(connection, 0);
    ListViewPriceItems = copy.lines;
    txtInvoiceNotes = copy.strInvNotes;
    if (printOnLoad) copyPrinter()(copy);
    ShowSavingNotice(QStringLiteral("Saving %1...").arg(InvDisplayName(h.strInvName, h.intInvNumber)));
    WriteNewDocument(connection, copy, h.intInvNumber, false);
    if (stampLastPrinted) StampLastPrintedToday(connection);
    transaction.commit();
    ListViewPriceItems.clear();
    return h.intInvNumber;
}

} // namespace

int CopyDocument(int sourceNumber, const QString& newTypeName, const QString& sourceReference, bool keepRecurring,
                 bool printOnLoad)
{
    return StoreCopy(sourceNumber, newTypeName, sourceReference, keepRecurring, printOnLoad, false);
}

QString SetLastPrintedToday()
{
    {
        DbConnection connection;
        StampLastPrintedToday(connection);
    }
    return ShowLastPrintedDate();
}

int PrintRecurringInvoices()
{
    ListViewRecurringNumber.clear();
    {
        DbConnection connection;
        DbStatement read = connection.prepare(
            QStringLiteral("SELECT intInvNumber FROM tblInvDataHeader WHERE strRecurring <> '0' "
                           "AND UPPER(strInvName) LIKE ? ORDER BY intInvDataHeaderID;"),
            {arrInvTypeNames[itInvoice].toUpper() + QLatin1Char('%')});
        while (read.step()) ListViewRecurringNumber.append(read.columnInt(0));
    }
    if (ListViewRecurringNumber.isEmpty()) return 0;
    if (!HasCopyPrinter()) throw AppError(QStringLiteral("Printing is not available"));

    // Each copy is printed and stored on its own: a failure stops the run, and
    // the copies already printed stay stored. Each copy is stored together with
    // the date of the run, so a stored copy always shows in "Last Printed on".
    for (int number : std::as_const(ListViewRecurringNumber))
        StoreCopy(number, arrInvTypeNames[itInvoice], QString(), false, true, true);
    const int copied = int(ListViewRecurringNumber.size());
    ShowLastPrintedDate();
    ListViewRecurringNumber.clear();
    return copied;
}
