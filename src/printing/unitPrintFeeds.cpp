#include "printing/unitPrintFeeds.h"

#include "app/unitRegional.h"
#include "db/DbConnection.h"
#include "db/unitStoredValues.h"

#include <QRegularExpression>

QList<AmountColumn> ShownAmountColumns(const QString& invType, const TrecCmpnyInvData& settings)
{
    const bool moneyAllowed = !SameInvType(invType, arrInvTypeNames[itWorkOrder]) || settings.blShowTotalonWO;
    QList<AmountColumn> columns;
    if (moneyAllowed && settings.blShowTotal) columns << AmountColumn::Total;
    if (moneyAllowed && settings.blShowPrcEach) columns << AmountColumn::PriceEach;
    if (settings.blShowQuantity) columns << AmountColumn::Quantity;
    return columns;
}

std::array<QString, 3> AmountHeadings(const QString& invType, const TrecCmpnyInvData& settings)
{
    std::array<QString, 3> headings;
    const QList<AmountColumn> columns = ShownAmountColumns(invType, settings);
    for (int index = 0; index < columns.size(); ++index) {
        switch (columns[index]) {
        case AmountColumn::Total: headings[std::size_t(index)] = QStringLiteral("Total"); break;
        case AmountColumn::PriceEach: headings[std::size_t(index)] = QStringLiteral("Price Each"); break;
        case AmountColumn::Quantity: headings[std::size_t(index)] = QStringLiteral("Quantity"); break;
        }
    }
    return headings;
}

QStringList NotesLines(const QString& notes)
{
    if (notes.isEmpty()) return {};
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = notes.split(lineBreak);
    if (lines.size() > 1 && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

// ------------------------------------------------------------- document lines

InvoiceLinesFeed::InvoiceLinesFeed(QList<TInvLine> lines, const QString& notes, bool manualForm, QString invType,
                                   TrecCmpnyInvData settings)
    : m_lines(std::move(lines)), m_notes(NotesLines(notes)), m_manualForm(manualForm),
      m_invType(std::move(invType)), m_settings(std::move(settings))
{
}

std::vector<FeedField> InvoiceLinesFeed::fields() const
{
    return {{QStringLiteral("rvstrDescription"), FeedFieldType::Text, 60},
            {QStringLiteral("rvstrRight"), FeedFieldType::Text, 20},
            {QStringLiteral("rvstrMiddle"), FeedFieldType::Text, 20},
            {QStringLiteral("rvstrLeft"), FeedFieldType::Text, 20}};
}

int InvoiceLinesFeed::rowCount()
{
    if (m_manualForm) return 0;
    return int(m_lines.size() + m_notes.size());
}

QVariantList InvoiceLinesFeed::row(int index)
{
    if (index >= m_lines.size()) return {m_notes.value(index - int(m_lines.size())), QString(), QString(), QString()};

    const TInvLine& line = m_lines[index];
    // Same arithmetic as the editor's line cells, so paper and screen agree. An
    // unreadable number ends the job, whichever columns are shown.
    const double quantity = StrToFloat(line.strPrcItmQuantity);
    const long double each = static_cast<long double>(StrToFloat(line.strLbrPrc)) + StrToFloat(line.strMatPrc);
    std::array<QString, 3> amounts;   // right, middle, left
    const QList<AmountColumn> columns = ShownAmountColumns(m_invType, m_settings);
    for (int column = 0; column < columns.size(); ++column) {
        QString& text = amounts[std::size_t(column)];
        switch (columns[column]) {
        case AmountColumn::Total: text = FormatMoney(double(each * quantity)); break;
        case AmountColumn::PriceEach: text = FormatMoney(double(each)); break;
        case AmountColumn::Quantity: text = DisplayNumberText(line.strPrcItmQuantity); break;
        }
    }
    return {line.strPrcItemName, amounts[0], amounts[1], amounts[2]};
}

// -------------------------------------------------------------- customer list

std::vector<FeedField> CustomerListFeed::fields() const
{
    return {{QStringLiteral("rvstrCustomerID"), FeedFieldType::Text, 20},
            {QStringLiteral("rvstrCustCompany"), FeedFieldType::Text, 40},
            {QStringLiteral("rvstrCustFirstLastName"), FeedFieldType::Text, 45},
            {QStringLiteral("rvstrCustAddress"), FeedFieldType::Text, 40},
            {QStringLiteral("rvstrCustCityStateZip"), FeedFieldType::Text, 77},
            {QStringLiteral("rvstrCustEmail"), FeedFieldType::Text, 50},
            {QStringLiteral("rvstrCustPhone"), FeedFieldType::Text, 20},
            {QStringLiteral("rvstrCustFax"), FeedFieldType::Text, 15},
            {QStringLiteral("rvstrCustTaxExmpNmbr"), FeedFieldType::Text, 30},
            {QStringLiteral("rvstrCustPmtTerms"), FeedFieldType::Text, 40},
            {QStringLiteral("rvstrCustNotes"), FeedFieldType::Text, 250}};
}

QVariantList CustomerListFeed::row(int index)
{
    if (!m_read) {
        m_read = m_connection.prepare(QStringLiteral(
            "SELECT intCustomerID, strCustFirstName, strCustLastName, strCustCompany, strCustAddress, "
            "strCustCity, strCustState, strCustZipCode, strCustEmail, strCustPhone, strCustFax, "
            "strCustPhoneAreaCode, strCustFaxAreaCode, strCustPhoneExt, strCustTaxExmpt, "
            "strCustTaxExmpNmbr, strCustPmtTerms, strCustNotes FROM tblCustomers WHERE intCustomerID = ?;"));
    } else {
        m_read->reset();
    }
    DbStatement& read = *m_read;
    read.bind(1, m_ids.value(index));
    read.step();   // a customer that is gone reads as empty texts
    auto c = [&read](int column) { return read.columnText(column); };
    return {c(0),
            c(3),
            c(1) + QLatin1Char(' ') + c(2),
            c(4),
            c(5) + QLatin1Char(',') + c(6) + QLatin1Char(' ') + c(7),
            c(8),
            c(11) + QLatin1Char('-') + c(9) + QLatin1Char(' ') + c(13),
            c(12) + QLatin1Char('-') + c(10),
            c(15),
            c(16),
            c(17)};
}

// ---------------------------------------------------------------- price sheet

std::vector<FeedField> PriceSheetFeed::fields() const
{
    return {{QStringLiteral("rvstrDescription"), FeedFieldType::Text, 50},
            {QStringLiteral("rvstrLabPrice"), FeedFieldType::Text, 15},
            {QStringLiteral("rvstrMatPrice"), FeedFieldType::Text, 15},
            {QStringLiteral("rvstrLabTaxable"), FeedFieldType::Boolean, 10},
            {QStringLiteral("rvstrMatTaxable"), FeedFieldType::Boolean, 10}};
}

QVariantList PriceSheetFeed::row(int index)
{
    const TPriceSheetPrintRow& item = m_rows[index];
    return {item.strPrcItemName, item.strLabPrice, item.strMatPrice, StrToBool(item.strLabTaxable),
            StrToBool(item.strMatTaxable)};
}

// -------------------------------------------------------------------- planner

std::vector<FeedField> PlannerFeed::fields() const
{
    return {{QStringLiteral("rvstrActDateWkMnth"), FeedFieldType::Text, 25},
            {QStringLiteral("rvstrActStartWkMnth"), FeedFieldType::Text, 25},
            {QStringLiteral("rvstrActEndWkMnth"), FeedFieldType::Text, 25},
            {QStringLiteral("rvstrActivityWkMnth"), FeedFieldType::Text, 50},
            {QStringLiteral("rvstrActStartDay"), FeedFieldType::Text, 25},
            {QStringLiteral("rvstrActEndDay"), FeedFieldType::Text, 25},
            {QStringLiteral("rvstrActivityDay"), FeedFieldType::Text, 50},
            {QStringLiteral("rvstrActivityNotes"), FeedFieldType::Text, 250}};
}

QVariantList PlannerFeed::row(int index)
{
    const TPlannerPrintRow& entry = m_rows[index];
    if (!m_read) {
        m_read = m_connection.prepare(QStringLiteral(
            "SELECT strActStartDateTime,strActEndDateTime,strActivity,strActNote FROM tblPlanner WHERE intActID = ?;"));
    } else {
        m_read->reset();
    }
    DbStatement& read = *m_read;
    read.bind(1, entry.strActID);
    read.step();   // an activity that is gone reads as empty texts
    const QString start = DisplayStoredDateTime(read.columnText(0));
    const QString end = DisplayStoredDateTime(read.columnText(1));
    const QString activity = read.columnText(2);
    const QString notes = read.columnText(3);
    if (m_dayList) return {QString(), QString(), QString(), QString(), start, end, activity, notes};
    return {entry.strDate, start, end, activity, QString(), QString(), QString(), notes};
}

// -------------------------------------------------------------------- reports

std::vector<FeedField> ReportsFeed::fields() const
{
    return {{QStringLiteral("rvstrDate"), FeedFieldType::Text, 30},
            {QStringLiteral("rvstrType"), FeedFieldType::Text, 30},
            {QStringLiteral("rvstrTax1"), FeedFieldType::Text, 20},
            {QStringLiteral("rvstrTax2"), FeedFieldType::Text, 20},
            {QStringLiteral("rvstrTax3"), FeedFieldType::Text, 20},
            {QStringLiteral("rvstrTaxTotal"), FeedFieldType::Text, 20},
            {QStringLiteral("rvstrSalesTotal"), FeedFieldType::Text, 20}};
}

QVariantList ReportsFeed::row(int index)
{
    QVariantList values;
    for (const QString& cell : m_rows[index]) values << cell;
    return values;
}
