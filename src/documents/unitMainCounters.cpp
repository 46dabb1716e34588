#include "documents/unitMainCounters.h"

#include "app/AppError.h"
#include "app/unitRegional.h"
#include "db/DbConnection.h"

namespace {

TrecMainCountersDisplay& display()
{
    static TrecMainCountersDisplay current;
    return current;
}

// Any stored type name that begins with "Invoice", case ignored, is an invoice.
const QString kInvoicePattern = QStringLiteral("INVOICE%");

} // namespace

void SetMainCountersDisplay(TrecMainCountersDisplay newDisplay)
{
    display() = std::move(newDisplay);
}

TrecMainCounters RefreshMainCounters()
{
    TrecMainCounters counters;
    DbConnection connection;
    counters.intUnPaidCount = connection.countRows(
        QStringLiteral("SELECT intInvNumber FROM tblInvDataHeader WHERE strPaidInFull = '0' AND strRecurring = '0' "
                       "AND UPPER(strInvName) LIKE ?;"),
        {kInvoicePattern});
    counters.intRecurringCount = connection.countRows(
        QStringLiteral("SELECT intInvNumber FROM tblInvDataHeader WHERE strRecurring <> '0' "
                       "AND UPPER(strInvName) LIKE ?;"),
        {kInvoicePattern});
    connection.close();

    counters.strUnPaidCaption = QStringLiteral("UnPaid Invoices: ") + QString::number(counters.intUnPaidCount);
    counters.blShowUnPaid = counters.intUnPaidCount > 0;
    counters.blShowRecurring = counters.intRecurringCount > 0;
    if (display().showCounters) display().showCounters(counters);
    return counters;
}

QString ShowLastPrintedDate()
{
    DbConnection connection;
    DbStatement read =
        connection.prepare(QStringLiteral("SELECT strLastPrintedDate FROM tblRecurring WHERE intRecurringID = 1;"));
    if (!read.step()) throw AppError(MissingRowMessage(QStringLiteral("recurring invoices")));
    const QString date = read.columnText(0);
    connection.close();

    const QString caption = date.isEmpty() ? QStringLiteral("Last Printed on:  Never")
                                           : QStringLiteral("Last Printed on: ") + DisplayStoredDate(date);
    if (display().showLastPrinted) display().showLastPrinted(caption);
    return caption;
}
