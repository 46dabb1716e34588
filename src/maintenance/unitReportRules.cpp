#include "maintenance/unitReportRules.h"

#include "app/unitRegional.h"
#include "db/DbConnection.h"
#include "documents/unitDocumentModel.h"

#include <algorithm>
#include <cmath>

QStringList ReportTypeNames()
{
    return {QStringLiteral("Sales Report"), QStringLiteral("Tax Report"), QStringLiteral("Sales and Tax Report")};
}

QStringList ReportMonthNames()
{
    QStringList names;
    for (int month = 1; month <= 12; ++month) names << DisplayMonthName(month);
    return names;
}

int ReportMonthNumber(const QString& monthName)
{
    return int(ReportMonthNames().indexOf(monthName)) + 1;
}

QStringList ReportEndMonths(int startMonth, int startYear, int endYear)
{
    const QStringList months = ReportMonthNames();
    if (endYear != startYear) return months;
    return months.mid(std::clamp(startMonth, 1, 12) - 1);
}

QString ReportTaxCaption(int taxNumber, const QString& taxName)
{
    return taxName.isEmpty() ? QStringLiteral("Tax %1").arg(taxNumber) : taxName;
}

std::array<QString, kReportColumns> ReportColumnCaptions(TReportType type, bool itemized,
                                                         const std::array<QString, 3>& taxNames)
{
    std::array<QString, kReportColumns> captions;
    captions[0] = QStringLiteral("Date");
    if (itemized) captions[1] = QStringLiteral("Type");
    if (itemized && type != rtSales)
        for (int tax = 0; tax < 3; ++tax) captions[std::size_t(2 + tax)] = ReportTaxCaption(tax + 1, taxNames[std::size_t(tax)]);
    if (type == rtSalesAndTax) captions[kReportTaxTotalColumn] = QStringLiteral("Tax Total");
    captions[kReportSalesTotalColumn] = type == rtTax ? QStringLiteral("Tax Total") : QStringLiteral("Sales Total");
    return captions;
}

QList<int> ReportVisibleColumns(TReportType type, bool itemized)
{
    const std::array<QString, kReportColumns> captions = ReportColumnCaptions(type, itemized, {});
    QList<int> columns;
    for (int column = 0; column < kReportSortKeyColumn; ++column)
        if (!captions[std::size_t(column)].isEmpty()) columns << column;
    return columns;
}

std::vector<TReportLedgerRow> ReadReportLedgerRows(int startYear, int endYear)
{
    DbConnection connection;
    DbStatement read = connection.prepare(
        QStringLiteral("SELECT intReportYear,intReportMonth,dbLbrTax1Total,dbLbrTax2Total,dbLbrTax3Total,"
                       "dbMatTax1Total,dbMatTax2Total,dbMatTax3Total,dbLbrTotal,dbMatTotal FROM tblReport "
                       "WHERE (intReportYear >= ? AND intReportYear <= ?) ORDER BY intReportID;"),
        {startYear, endYear});
    std::vector<TReportLedgerRow> rows;
    while (read.step()) {
        TReportLedgerRow row;
        row.year = read.columnInt(0);
        row.month = read.columnInt(1);
        row.amounts = {read.columnDouble(2), read.columnDouble(3), read.columnDouble(4), read.columnDouble(5),
                       read.columnDouble(6), read.columnDouble(7), read.columnDouble(8), read.columnDouble(9)};
        rows.push_back(row);
    }
    return rows;
}

QString ReportMonthCaption(int year, int month)
{
    return DisplayMonthYear(year, month);
}

namespace {

// Column 1 to 6 of one row; column 0 and the sort key are set by the caller.
using Amounts6 = std::array<QString, 6>;

Amounts6 summaryCells(TReportType type, const TLedgerAmounts& a)
{
    const double lt = a.dbLbrTax1Total + a.dbLbrTax2Total + a.dbLbrTax3Total;
    const double mt = a.dbMatTax1Total + a.dbMatTax2Total + a.dbMatTax3Total;
    const double sales = a.dbLbrTotal + a.dbMatTotal;
    Amounts6 cells;
    switch (type) {
    case rtSales: cells[5] = FormatMoney(sales); break;
    case rtTax: cells[5] = FormatMoney(lt + mt); break;
    case rtSalesAndTax:
        cells[4] = FormatMoney(lt + mt);
        cells[5] = FormatMoney(sales);
        break;
    }
    return cells;
}

Amounts6 itemizedCells(TReportType type, bool labour, const TLedgerAmounts& a)
{
    const double t1 = labour ? a.dbLbrTax1Total : a.dbMatTax1Total;
    const double t2 = labour ? a.dbLbrTax2Total : a.dbMatTax2Total;
    const double t3 = labour ? a.dbLbrTax3Total : a.dbMatTax3Total;
    const double taxTotal = t1 + t2 + t3;
    const double sales = labour ? a.dbLbrTotal : a.dbMatTotal;
    Amounts6 cells;
    cells[0] = labour ? QStringLiteral("Labor") : QStringLiteral("Material");
    if (type != rtSales) {
        cells[1] = FormatMoney(t1);
        cells[2] = FormatMoney(t2);
        cells[3] = FormatMoney(t3);
    }
    switch (type) {
    case rtSales: cells[5] = FormatMoney(sales); break;
    case rtTax: cells[5] = FormatMoney(taxTotal); break;
    case rtSalesAndTax:
        cells[4] = FormatMoney(taxTotal);
        cells[5] = FormatMoney(sales);
        break;
    }
    return cells;
}

TReportRow makeRow(const QString& caption, const Amounts6& cells, const QDate& month, TReportRowKind kind)
{
    TReportRow row;
    row.cells[0] = caption;
    for (std::size_t column = 0; column < cells.size(); ++column) row.cells[column + 1] = cells[column];
    row.cells[kReportSortKeyColumn] = DateToStr(month);
    row.month = month;
    row.kind = kind;
    return row;
}

} // namespace

std::vector<TReportRow> BuildReportRows(const std::vector<TReportLedgerRow>& ledger, TReportType type,
                                        bool itemized, const QDate& start, const QDate& end)
{
    std::vector<TReportRow> rows;
    for (const TReportLedgerRow& entry : ledger) {
        const QDate month(entry.year, entry.month, 1);
        if (!month.isValid() || month < start || month > end) continue;
        const QString caption = ReportMonthCaption(entry.year, entry.month);
        if (itemized) {
            rows.push_back(makeRow(caption, itemizedCells(type, true, entry.amounts), month, TReportRowKind::Labor));
            rows.push_back(makeRow(QString(), itemizedCells(type, false, entry.amounts), month, TReportRowKind::Material));
        } else {
            rows.push_back(makeRow(caption, summaryCells(type, entry.amounts), month, TReportRowKind::Month));
        }
    }
    // By the month's first day; the two rows of a month keep labour first.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const TReportRow& a, const TReportRow& b) { return a.month < b.month; });
    return rows;
}

std::vector<TReportRow> QueryReportRows(TReportType type, bool itemized, int startMonth, int startYear,
                                        int endMonth, int endYear)
{
    const QDate start(startYear, startMonth, 1);
    const QDate end(endYear, endMonth, 1);
    return BuildReportRows(ReadReportLedgerRows(startYear, endYear), type, itemized, start, end);
}

QString ReportPlainAmount(const QString& moneyText)
{
    // The money text is in the regional display form (1.234,50 € or -$1,234.50):
    // its decimal separator and minus sign are the display locale's.
    const QLocale locale = DisplayLocale();
    const QString separator = locale.decimalPoint();
    const QString minus = locale.negativeSign();
    QString plain;
    for (qsizetype i = 0; i < moneyText.size(); ++i) {
        const QChar c = moneyText[i];
        const QStringView rest = QStringView(moneyText).mid(i);
        if (c.isDigit()) {
            plain += QChar(u'0' + c.digitValue());
        } else if (c == QLatin1Char('-')) {
            plain += QLatin1Char('-');
        } else if (!minus.isEmpty() && rest.startsWith(minus)) {
            plain += QLatin1Char('-');
            i += minus.size() - 1;
        } else if (!separator.isEmpty() && rest.startsWith(separator)) {
            plain += QLatin1Char('.');
            i += separator.size() - 1;
        }
    }
    return plain;
}

TReportChartData BuildReportChartData(const std::vector<TReportRow>& rows, TReportType type, bool itemized,
                                      const std::array<QString, kReportColumns>& captions)
{
    TReportChartData chart;
    QList<int> totals;
    if (type == rtSalesAndTax) totals << kReportTaxTotalColumn;
    totals << kReportSalesTotalColumn;

    const QList<TReportRowKind> kinds = itemized ? QList<TReportRowKind>{TReportRowKind::Labor, TReportRowKind::Material}
                                                 : QList<TReportRowKind>{TReportRowKind::Month};
    for (int column : totals)
        for (TReportRowKind kind : kinds) {
            TReportChartSet set;
            set.column = column;
            set.kind = kind;
            set.name = captions[std::size_t(column)];
            if (kind == TReportRowKind::Labor) set.name = QStringLiteral("Labor ") + set.name;
            if (kind == TReportRowKind::Material) set.name = QStringLiteral("Material ") + set.name;
            chart.sets << set;
        }
    chart.stacked = itemized && totals.size() == 1;

    for (const TReportRow& row : rows) {
        if (row.kind != TReportRowKind::Material) {
            chart.categories << ReportMonthCaption(row.month.year(), row.month.month());
            chart.months << row.month;
        }
        for (TReportChartSet& set : chart.sets)
            if (set.kind == row.kind)
                set.values << ReportPlainAmount(row.cells[std::size_t(set.column)]).toDouble();
    }
    return chart;
}

QList<double> ReportAxisTicks(double low, double high)
{
    low = std::min(low, 0.0);
    high = std::max(high, 0.0);
    if (high - low < 1e-9) high = low + 1;
    const double rough = (high - low) / 5;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power;
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        step = factor * power;
        if (step >= rough) break;
    }
    QList<double> ticks;
    const double first = std::floor(low / step) * step;
    const double last = std::ceil(high / step) * step;
    for (double tick = first; tick <= last + step / 2; tick += step)
        ticks << std::round(tick / step) * step;
    return ticks;
}
