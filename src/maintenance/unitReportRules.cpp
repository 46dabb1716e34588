#include "maintenance/unitReportRules.h"

#include "app/unitRegional.h"
#include "db/DbConnection.h"
#include "documents/unitDocumentModel.h"

#include <QSet>

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

// The amounts of columns 2 to 6 of one row; an empty one shows nothing.
using RowAmounts = std::array<std::optional<double>, 5>;
constexpr std::size_t kFirstAmountColumn = 2;

RowAmounts summaryAmounts(TReportType type, const TLedgerAmounts& a)
{
    const double lt = a.dbLbrTax1Total + a.dbLbrTax2Total + a.dbLbrTax3Total;
    const double mt = a.dbMatTax1Total + a.dbMatTax2Total + a.dbMatTax3Total;
    const double sales = a.dbLbrTotal + a.dbMatTotal;
    RowAmounts amounts;
    switch (type) {
    case rtSales: amounts[4] = sales; break;
    case rtTax: amounts[4] = lt + mt; break;
    case rtSalesAndTax:
        amounts[3] = lt + mt;
        amounts[4] = sales;
        break;
    }
    return amounts;
}

RowAmounts itemizedAmounts(TReportType type, bool labour, const TLedgerAmounts& a)
{
    const double t1 = labour ? a.dbLbrTax1Total : a.dbMatTax1Total;
    const double t2 = labour ? a.dbLbrTax2Total : a.dbMatTax2Total;
    const double t3 = labour ? a.dbLbrTax3Total : a.dbMatTax3Total;
    const double taxTotal = t1 + t2 + t3;
    const double sales = labour ? a.dbLbrTotal : a.dbMatTotal;
    RowAmounts amounts;
    if (type != rtSales) {
        amounts[0] = t1;
        amounts[1] = t2;
        amounts[2] = t3;
    }
    switch (type) {
    case rtSales: amounts[4] = sales; break;
    case rtTax: amounts[4] = taxTotal; break;
    case rtSalesAndTax:
        amounts[3] = taxTotal;
        amounts[4] = sales;
        break;
    }
    return amounts;
}

// An amount the money text cannot show reads "####" and has no cents, so one
// odd ledger row never stops the whole report.
TReportRow makeRow(const QString& caption, TReportRowKind kind, const RowAmounts& amounts, const QDate& month)
{
    TReportRow row;
    row.cells[0] = caption;
    if (kind == TReportRowKind::Labor) row.cells[1] = QStringLiteral("Labor");
    if (kind == TReportRowKind::Material) row.cells[1] = QStringLiteral("Material");
    for (std::size_t index = 0; index < amounts.size(); ++index) {
        if (!amounts[index]) continue;
        row.cells[kFirstAmountColumn + index] = MoneyDisplayText(*amounts[index]);
        row.cents[kFirstAmountColumn + index] = MoneyCents(*amounts[index]);
    }
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
            rows.push_back(makeRow(caption, TReportRowKind::Labor, itemizedAmounts(type, true, entry.amounts), month));
            rows.push_back(
                makeRow(QString(), TReportRowKind::Material, itemizedAmounts(type, false, entry.amounts), month));
        } else {
            rows.push_back(makeRow(caption, TReportRowKind::Month, summaryAmounts(type, entry.amounts), month));
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

QString ReportAmountNumber(const TReportRow& row, int column)
{
    const std::optional<std::int64_t>& cents = row.cents[std::size_t(column)];
    return cents ? MoneyNumberText(*cents) : QString();
}

QStringList ReportChartLabels(const QList<QDate>& months)
{
    QStringList labels;
    QSet<QString> taken;
    for (const QDate& month : months) {
        QString label = DisplayMonthName(month.month(), QLocale::ShortFormat) + QLatin1Char(' ') +
                        QString::number(month.year());
        while (taken.contains(label)) label += QChar(0x200B);
        taken.insert(label);
        labels << label;
    }
    return labels;
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
            if (set.kind == row.kind) {
                // A bar shows the amount as the list shows it; an unshowable one stays at zero.
                const std::optional<std::int64_t>& cents = row.cents[std::size_t(set.column)];
                set.values << (cents ? double(*cents) / 100 : 0.0);
            }
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
