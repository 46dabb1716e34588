#include "documents/unitDocumentStore.h"

#include "app/AppError.h"
#include "app/unitRegional.h"
#include "app/unitfrmSaving.h"
#include "db/DbConnection.h"
#include "db/unitStoredValues.h"

TrecSavedData recSavedData = NewSavedData();

TrecSavedData NewSavedData()
{
    TrecSavedData saved;
    saved.dtInvDate = QDate::currentDate();
    return saved;
}

void ResetSavedData() { recSavedData = NewSavedData(); }

TLedgerAmounts LedgerAmountsOf(const TInvHeader& h)
{
    return {h.dbLbrTax1Total, h.dbLbrTax2Total, h.dbLbrTax3Total, h.dbMatTax1Total,
            h.dbMatTax2Total, h.dbMatTax3Total, h.dbLbrTotal,     h.dbMatTotal};
}

namespace {
QString DocumentNumberName(int number) { return QStringLiteral("Document number %1").arg(number); }
} // namespace

QString DocumentNotFoundMessage(int number)
{
    return QStringLiteral("Document number %1 does not exist").arg(number);
}

// ---------------------------------------------------------------- numbering

namespace {

// The counter; lockRow: its row stays locked for the rest of the transaction.
int ReadInvNumber(DbConnection& connection, bool lockRow)
{
    const QString select = QStringLiteral("SELECT intInvNumber FROM tblCompanyInvData WHERE intCompInvDataID = 1");
    DbStatement read = connection.prepare(lockRow ? connection.lockingRows(select) : select + QLatin1Char(';'));
    // Never document number 0: a missing row or counter is an error of its own.
    if (!read.step()) throw AppError(MissingRowMessage(QStringLiteral("document counter")));
    const int number = read.columnIsNull(0) ? 0 : read.columnInt(0);
    if (number <= 0)
        throw AppError(QStringLiteral("The document counter in the database holds no valid number (%1).")
                           .arg(read.columnText(0)));
    return number;
}

} // namespace

int GetNextInvNumber(DbConnection& connection) { return ReadInvNumber(connection, false); }

int GetNextInvNumber()
{
    DbConnection connection;
    return GetNextInvNumber(connection);
}

namespace {

int LockedInvNumber(DbConnection& connection) { return ReadInvNumber(connection, true); }

void SetInvNumber(DbConnection& connection, int next)
{
    connection.executeOnRow(QStringLiteral("UPDATE tblCompanyInvData SET intInvNumber = ? WHERE intCompInvDataID = 1;"),
                            {next}, MissingRowMessage(QStringLiteral("document counter")));
}

bool IsStoredNumber(DbConnection& connection, int number)
{
    return connection.countRows(QStringLiteral("SELECT 1 FROM tblInvDataHeader WHERE intInvNumber = ? LIMIT 1;"),
                                {number}) > 0;
}

} // namespace

void AdvanceInvNumber(DbConnection& connection) { SetInvNumber(connection, LockedInvNumber(connection) + 1); }

int TakeDocumentNumber(DbConnection& connection, int shownNumber)
{
    const int counter = LockedInvNumber(connection);
    if (shownNumber > 0 && !IsStoredNumber(connection, shownNumber)) {
        SetInvNumber(connection, counter + 1);
        return shownNumber;
    }
    int number = counter;
    while (IsStoredNumber(connection, number)) ++number;
    SetInvNumber(connection, number + 1);
    return number;
}

void AdvanceInvNumber()
{
    DbConnection connection;
    DbTransaction transaction(connection);
    AdvanceInvNumber(connection);
    transaction.commit();
}

// --------------------------------------------------------------------- save

namespace {

void InsertLines(DbConnection& connection, int number, const QList<TInvLine>& lines)
{
    if (lines.isEmpty()) return;
    // One statement for all lines: preparing it again per line costs more than the insert.
    DbStatement insert = connection.prepare(QStringLiteral("INSERT INTO tblInvData(intInvNumber,strPrcItemName,"
                                                           "strPrcItmQuantity,strLabTax,strMatTax,dbLbrPrc,dbMatPrc)"
                                                           "VALUES(?,?,?,?,?,?,?);"));
    for (const TInvLine& line : lines) {
        insert.bindAll({number, line.strPrcItemName, line.strPrcItmQuantity, line.strLabTax, line.strMatTax,
                        StrToFloat(line.strLbrPrc), StrToFloat(line.strMatPrc)});
        insert.step();
        insert.reset();
    }
}

void DeleteLinesOf(DbConnection& connection, int number)
{
    connection.execute(QStringLiteral("DELETE FROM tblInvData WHERE intInvNumber = ?"), {number});
}

} // namespace

TInvBuyerTaxData ReadBuyerTaxData(DbConnection& connection, int number)
{
    DbStatement read = connection.prepare(
        QStringLiteral("SELECT strBuyerCountry,strBuyerVatId FROM tblInvEInvoice WHERE intInvNumber = ?;"), {number});
    TInvBuyerTaxData buyer;
    if (read.step()) {
        buyer.strBuyerCountry = read.columnText(0);
        buyer.strBuyerVatId = read.columnText(1);
    }
    return buyer;
}

void WriteBuyerTaxData(DbConnection& connection, int number, const TInvBuyerTaxData& buyer)
{
    connection.execute(QStringLiteral("DELETE FROM tblInvEInvoice WHERE intInvNumber = ?;"), {number});
    if (buyer.isEmpty()) return;
    connection.execute(
        QStringLiteral("INSERT INTO tblInvEInvoice(intInvNumber,strBuyerCountry,strBuyerVatId) VALUES(?,?,?);"),
        {number, buyer.strBuyerCountry, buyer.strBuyerVatId});
}

int InsertNewDocument(DbConnection& connection, const TInvDocument& document, bool manualInvoice)
{
    const int number = TakeDocumentNumber(connection, document.header.intInvNumber);
    WriteNewDocument(connection, document, number, manualInvoice);
    return number;
}

void WriteNewDocument(DbConnection& connection, const TInvDocument& document, int number, bool manualInvoice)
{
    const TInvHeader& h = document.header;
    connection.execute(
        QStringLiteral("INSERT INTO tblInvDataHeader(intInvNumber,strCustCmpnyName,strCustFullName,strCustAddress,"
                       "strCustCtyStZp,strCustPhnFax,strCustEmail,strCustTaxExemptNum,strCustTaxExempt,"
                       "strCustPONumber,strInvName,strInvTerms,intInvFootNotes,strUseTax1,strUseTax2,strUseTax3,"
                       "strInvNotes,strFromInvNameNumber,strFutureInfo,strPaidInFull,strRecurring,"
                       "strSavedToReport,dbLbrTax1Total,dbLbrTax2Total,dbLbrTax3Total,dbMatTax1Total,"
                       "dbMatTax2Total,dbMatTax3Total,dbLbrTotal,dbMatTotal,dbAmountPaid,dbDepAmount,dbInvTotal,"
                       "strInvDate)VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?);"),
        {number, h.strCustCmpnyName, h.strCustFullName, h.strCustAddress, h.strCustCtyStZp,
         h.strCustPhnFax, h.strCustEmail, h.strCustTaxExemptNum, BoolToStr(h.strCustTaxExempt), h.strCustPONumber,
         h.strInvName, h.strInvTerms, h.intInvFootNotes, BoolToStr(h.strUseTax1), BoolToStr(h.strUseTax2),
         BoolToStr(h.strUseTax3), document.strInvNotes, h.strFromInvNameNumber, h.strFutureInfo,
         BoolToStr(h.strPaidInFull), BoolToStr(h.strRecurring), BoolToStr(h.strSavedToReport), h.dbLbrTax1Total,
         h.dbLbrTax2Total, h.dbLbrTax3Total, h.dbMatTax1Total, h.dbMatTax2Total, h.dbMatTax3Total, h.dbLbrTotal,
         h.dbMatTotal, h.dbAmountPaid, h.dbDepAmount, h.dbInvTotal, h.strInvDate});
    if (!manualInvoice) InsertLines(connection, number, document.lines);
    WriteBuyerTaxData(connection, number, document.buyer);
}

bool SaveDocument(DbConnection& connection, const TInvDocument& document, bool editExisting, bool manualInvoice)
{
    const TInvHeader& h = document.header;
    if (editExisting) {
        connection.execute(
            QStringLiteral("UPDATE tblInvDataHeader SET strCustCmpnyName = ?,strCustFullName = ?,strCustAddress = ?,"
                           "strCustCtyStZp = ?,strCustPhnFax = ?,strCustEmail = ?,strCustTaxExemptNum = ?,"
                           "strCustTaxExempt = ?,strCustPONumber = ?,strInvName = ?,strInvTerms = ?,"
                           "intInvFootNotes = ?,strUseTax1 = ?,strUseTax2 = ?,strUseTax3 = ?,strInvNotes = ?,"
                           "strFromInvNameNumber = ?,strFutureInfo = ?,strPaidInFull = ?,strRecurring = ?,"
                           "strSavedToReport = ?,dbLbrTax1Total = ?,dbLbrTax2Total = ?,dbLbrTax3Total = ?,"
                           "dbMatTax1Total = ?,dbMatTax2Total = ?,dbMatTax3Total = ?,dbLbrTotal = ?,"
                           "dbMatTotal = ?,dbAmountPaid = ?,dbDepAmount = ?,dbInvTotal = ?,strInvDate = ? "
                           "WHERE intInvNumber = ?;"),
            {h.strCustCmpnyName, h.strCustFullName, h.strCustAddress, h.strCustCtyStZp, h.strCustPhnFax,
             h.strCustEmail, h.strCustTaxExemptNum, BoolToStr(h.strCustTaxExempt), h.strCustPONumber,
             h.strInvName, h.strInvTerms, h.intInvFootNotes, BoolToStr(h.strUseTax1), BoolToStr(h.strUseTax2),
             BoolToStr(h.strUseTax3), document.strInvNotes, h.strFromInvNameNumber, h.strFutureInfo,
             BoolToStr(h.strPaidInFull), BoolToStr(h.strRecurring), BoolToStr(h.strSavedToReport),
             h.dbLbrTax1Total, h.dbLbrTax2Total, h.dbLbrTax3Total, h.dbMatTax1Total, h.dbMatTax2Total,
             h.dbMatTax3Total, h.dbLbrTotal, h.dbMatTotal, h.dbAmountPaid, h.dbDepAmount, h.dbInvTotal,
             h.strInvDate, h.intInvNumber});
        // Updating a document that is no longer stored would leave lines without a header.
        if (connection.changes() == 0) throw AppError(DocumentNotFoundMessage(h.intInvNumber));
        DeleteLinesOf(connection, h.intInvNumber);
        InsertLines(connection, h.intInvNumber, document.lines);
        WriteBuyerTaxData(connection, h.intInvNumber, document.buyer);
        return false;
    }

    InsertNewDocument(connection, document, manualInvoice);
    return true;
}

bool SaveDocument(const TInvDocument& document, bool editExisting, bool manualInvoice)
{
    if (!manualInvoice)
        ShowSavingNotice(QStringLiteral("Saving %1...")
                             .arg(InvDisplayName(document.header.strInvName, document.header.intInvNumber)));
    DbConnection connection;
    bool inserted = false;
    DbTransaction::Run(connection, [&] { inserted = SaveDocument(connection, document, editExisting, manualInvoice); });
    return inserted;
}

// --------------------------------------------------------------------- load

namespace {

// The stored document, or nothing when it is not stored; lockRow: its header
// row stays locked to the end of the caller's transaction.
std::optional<TInvDocument> ReadStoredDocument(DbConnection& connection, int number, bool lockRow)
{
    std::optional<TInvDocument> stored(std::in_place);
    TInvHeader& h = stored->header;
    const QString select = QStringLiteral("SELECT intInvNumber,strCustCmpnyName,strCustFullName,strCustAddress,strCustCtyStZp,"
                       "strCustPhnFax,strCustEmail,strCustTaxExemptNum,strCustTaxExempt,strCustPONumber,strInvName,"
                       "strInvTerms,intInvFootNotes,strUseTax1,strUseTax2,strUseTax3,strInvNotes,strPaidInFull,"
                       "dbLbrTax1Total,dbLbrTax2Total,dbLbrTax3Total,dbMatTax1Total,dbMatTax2Total,dbMatTax3Total,"
                       "dbLbrTotal,dbMatTotal,dbAmountPaid,dbDepAmount,dbInvTotal,strInvDate,strSavedToReport,"
                       "strRecurring,strFromInvNameNumber,strFutureInfo FROM tblInvDataHeader "
                       "WHERE intInvNumber = ?");
    DbStatement read = connection.prepare(lockRow ? connection.lockingRows(select) : select + QLatin1Char(';'), {number});
    if (!read.step()) return std::nullopt;
    h.intInvNumber = read.columnInt(0);
    h.strCustCmpnyName = read.columnText(1);
    h.strCustFullName = read.columnText(2);
    h.strCustAddress = read.columnText(3);
    h.strCustCtyStZp = read.columnText(4);
    h.strCustPhnFax = read.columnText(5);
    h.strCustEmail = read.columnText(6);
    h.strCustTaxExemptNum = read.columnText(7);
    h.strCustTaxExempt = StrToBool(read.columnText(8));
    h.strCustPONumber = read.columnText(9);
    h.strInvName = read.columnText(10);
    h.strInvTerms = read.columnText(11);
    h.intInvFootNotes = read.columnInt(12);
    h.strUseTax1 = StrToBool(read.columnText(13));
    h.strUseTax2 = StrToBool(read.columnText(14));
    h.strUseTax3 = StrToBool(read.columnText(15));
    stored->strInvNotes = read.columnText(16);
    h.strPaidInFull = StrToBool(read.columnText(17));
    h.dbLbrTax1Total = read.columnDouble(18);
    h.dbLbrTax2Total = read.columnDouble(19);
    h.dbLbrTax3Total = read.columnDouble(20);
    h.dbMatTax1Total = read.columnDouble(21);
    h.dbMatTax2Total = read.columnDouble(22);
    h.dbMatTax3Total = read.columnDouble(23);
    h.dbLbrTotal = read.columnDouble(24);
    h.dbMatTotal = read.columnDouble(25);
    h.dbAmountPaid = read.columnDouble(26);
    h.dbDepAmount = read.columnDouble(27);
    h.dbInvTotal = read.columnDouble(28);
    h.strInvDate = read.columnText(29);
    h.strSavedToReport = StrToBool(read.columnText(30));
    h.strRecurring = StrToBool(read.columnText(31));
    h.strFromInvNameNumber = read.columnText(32);
    h.strFutureInfo = read.columnText(33);
    read.finalize();

    DbStatement lines = connection.prepare(
        QStringLiteral("SELECT strPrcItemName,strPrcItmQuantity,strLabTax,strMatTax,dbLbrPrc,dbMatPrc "
                       "FROM tblInvData WHERE intInvNumber = ? ORDER BY intInvDataID;"),
        {number});
    while (lines.step()) {
        stored->lines.append({lines.columnText(0), lines.columnText(1), lines.columnText(2),
                                      lines.columnText(3), FloatToStr(lines.columnDouble(4)),
                                      FloatToStr(lines.columnDouble(5))});
    }
    lines.finalize();
    stored->buyer = ReadBuyerTaxData(connection, number);
    return stored;
}

} // namespace

TLoadedDocument LoadDocument(int number)
{
    DbConnection connection;
    return LoadDocument(connection, number);
}

TLoadedDocument LoadDocument(DbConnection& connection, int number)
{
    std::optional<TInvDocument> stored = ReadStoredDocument(connection, number, false);
    if (!stored) throw AppError(DocumentNotFoundMessage(number));
    TLoadedDocument loaded;
    loaded.document = std::move(*stored);
    const TInvHeader& h = loaded.document.header;
    TrecSavedData& saved = loaded.savedData;
    saved = NewSavedData();
    saved.strInvName = h.strInvName;
    saved.strFromInvNameNumber = h.strFromInvNameNumber;
    saved.amounts = LedgerAmountsOf(h);
    if (!h.strInvDate.isEmpty()) saved.dtInvDate = StrToDate(h.strInvDate);
    saved.blSavedToReport = h.strSavedToReport;
    saved.storedAsOpened = loaded.document;
    return loaded;
}

QString StoredDocumentChangedMessage(const QString& displayName)
{
    return QStringLiteral("%1 was changed on another computer after you opened it, so your changes were not saved "
                          "over it. What you typed is still on the screen; close the document and open it again "
                          "to see the other change")
        .arg(displayName);
}

QString StoredDocumentDeletedMessage(const QString& displayName)
{
    return QStringLiteral("%1 was deleted on another computer after you opened it, so your changes were not saved. "
                          "What you typed is still on the screen")
        .arg(displayName);
}

void CheckUnchangedSinceOpened(DbConnection& connection, int number, const TrecSavedData& savedData)
{
    if (!savedData.storedAsOpened) return;
    const QString name = InvDisplayName(savedData.storedAsOpened->header.strInvName, number);
    const std::optional<TInvDocument> now = ReadStoredDocument(connection, number, true);
    if (!now) throw AppError(StoredDocumentDeletedMessage(name));
    if (!(*now == *savedData.storedAsOpened)) throw AppError(StoredDocumentChangedMessage(name));
}

// ------------------------------------------------------------------ changes

void DeleteDocumentLines(int number)
{
    if (number <= 0) return;
    DbConnection connection;
    DeleteLinesOf(connection, number);
    connection.tryVacuum();
}

void DeleteDocument(int number)
{
    if (number <= 0) return;
    DbConnection connection;
    {
        // Header and lines go together: never a header without its lines.
        DbTransaction transaction(connection);
        connection.execute(QStringLiteral("DELETE FROM tblInvDataHeader WHERE intInvNumber = ?"), {number});
        DeleteLinesOf(connection, number);
        WriteBuyerTaxData(connection, number, {});
        transaction.commit();
    }
    connection.tryVacuum();
}

namespace {

struct TStoredAmounts {
    TLedgerAmounts amounts;
    QDate date;
};

// The recorded amounts and date of a stored document; a missing document is an
// error, so nothing is ever posted from values that were not read.
TStoredAmounts ReadStoredAmounts(DbConnection& connection, int number)
{
    DbStatement read = connection.prepare(
        QStringLiteral("SELECT dbLbrTax1Total,dbLbrTax2Total,dbLbrTax3Total,dbMatTax1Total,dbMatTax2Total,"
                       "dbMatTax3Total,dbLbrTotal,dbMatTotal,strInvDate FROM tblInvDataHeader  WHERE intInvNumber = ?;"),
        {number});
    if (!read.step()) throw AppError(DocumentNotFoundMessage(number));
    TStoredAmounts stored;
    stored.amounts = {read.columnDouble(0), read.columnDouble(1), read.columnDouble(2), read.columnDouble(3),
                      read.columnDouble(4), read.columnDouble(5), read.columnDouble(6), read.columnDouble(7)};
    stored.date = StrToDate(read.columnText(8));
    return stored;
}

} // namespace

namespace {

// The stored amounts of a document that is about to post them, read again
// with its row locked once the ledger month is locked (the counter, the
// ledger month, then the record: the order every save keeps). Should another
// seat have changed them in between, the transaction runs again.
void LockUnchangedAmounts(DbConnection& connection, int number, const TStoredAmounts& read)
{
    DbStatement lock = connection.prepare(
        connection.lockingRows(QStringLiteral("SELECT intInvNumber FROM tblInvDataHeader WHERE intInvNumber = ?")),
        {number});
    while (lock.step()) {}
    lock.finalize();
    const TStoredAmounts now = ReadStoredAmounts(connection, number);
    if (!(now.amounts == read.amounts) || now.date != read.date)
        throw TransactionConflictError(DocumentNumberName(number));
}

} // namespace

void ConvertDocument(int number, const QString& newTypeName, const QString& sourceReference)
{
    DbConnection connection;
    DbTransaction::Run(connection, [&] {
        if (SameInvType(newTypeName, arrInvTypeNames[itCredit])) {
            const TStoredAmounts stored = ReadStoredAmounts(connection, number);
            PostToMonthlyLedger(connection, stored.amounts.negated(), stored.date);
            LockUnchangedAmounts(connection, number, stored);
            connection.executeOnRow(QStringLiteral("UPDATE tblInvDataHeader SET strInvName = ?,strSavedToReport = ?,"
                                                   "strFromInvNameNumber = ? WHERE intInvNumber = ?;"),
                                    {newTypeName, BoolToStr(true), sourceReference, number},
                                    DocumentNotFoundMessage(number));
        } else {
            connection.execute(QStringLiteral("UPDATE tblInvDataHeader SET strInvName = ? WHERE intInvNumber = ?;"),
                               {newTypeName, number});
            if (connection.changes() == 0) throw AppError(DocumentNotFoundMessage(number));
        }
    });
}

void MarkPaidInFull(int number)
{
    DbConnection connection;
    DbTransaction::Run(connection, [&] {
        const TStoredAmounts stored = ReadStoredAmounts(connection, number);
        PostToMonthlyLedger(connection, stored.amounts, stored.date);
        LockUnchangedAmounts(connection, number, stored);
        connection.executeOnRow(
            QStringLiteral("UPDATE tblInvDataHeader SET strPaidInFull = ?,strSavedToReport = ? WHERE intInvNumber = ?;"),
            {BoolToStr(true), BoolToStr(true), number}, DocumentNotFoundMessage(number));
    });
}

void SetRecurring(int number, bool recurring)
{
    DbConnection connection;
    connection.executeOnRow(QStringLiteral("UPDATE tblInvDataHeader SET strRecurring = ? WHERE intInvNumber = ?;"),
                            {BoolToStr(recurring), number}, DocumentNotFoundMessage(number));
}
