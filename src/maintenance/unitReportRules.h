#pragma once
// The rules of the reports screen, without a window: which months the end list
// offers, which columns each report shows under which captions, the ledger
// query of a range, the rows of a report in month order, and what the chart
// and the CSV export take from the rows shown.
#include "documents/unitMonthlyLedger.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// The report types in the order of the type list.
enum TReportType { rtSales = 0, rtTax = 1, rtSalesAndTax = 2 };

// Number of columns of the result list: date, type, three taxes, tax total,
// sales total and the hidden sort key.
constexpr int kReportColumns = 8;
// The hidden column that holds the first day of the month in the short date format.
constexpr int kReportSortKeyColumn = 7;
// The two total columns.
constexpr int kReportTaxTotalColumn = 5;
constexpr int kReportSalesTotalColumn = 6;

// "Sales Report", "Tax Report", "Sales and Tax Report".
QStringList ReportTypeNames();
// The twelve long month names, January first.
QStringList ReportMonthNames();
// The month number (1..12) of a month name; 0 for a text that is not one.
int ReportMonthNumber(const QString& monthName);

// The end-month list: from the start month through December when both years
// are the same, otherwise all twelve months.
QStringList ReportEndMonths(int startMonth, int startYear, int endYear);

// A tax name of the company settings, or "Tax 1".."Tax 3" when it is empty.
QString ReportTaxCaption(int taxNumber, const QString& taxName);

// The captions of columns 0 to 7 for a report type and choice; an empty
// caption marks a hidden column (the sort key is always hidden).
std::array<QString, kReportColumns> ReportColumnCaptions(TReportType type, bool itemized,
                                                         const std::array<QString, 3>& taxNames);
// The visible columns, left to right.
QList<int> ReportVisibleColumns(TReportType type, bool itemized);

// One ledger row as read for a report.
struct TReportLedgerRow {
    int year = 0;
    int month = 0;
    TLedgerAmounts amounts;
};

// The ledger rows of the years startYear through endYear, in the order the
// table holds them. The years are bound values.
std::vector<TReportLedgerRow> ReadReportLedgerRows(int startYear, int endYear);

// Which line of a month a row is.
enum class TReportRowKind { Month, Labor, Material };

// One row of the result list: the texts of columns 0 to 7 as displayed, and
// the amount each money cell shows as whole cents (none for an empty cell or
// one shown as "####"), for the chart and the export.
struct TReportRow {
    std::array<QString, kReportColumns> cells;
    std::array<std::optional<std::int64_t>, kReportColumns> cents;
    QDate month;   // first day of the ledger month the row belongs to
    TReportRowKind kind = TReportRowKind::Month;
};

// "January 2010".
QString ReportMonthCaption(int year, int month);

// The rows of a report over the months from start through end (both the first
// day of their month): rows outside the range are left out, each month gives
// one row (summary) or a labour and a material row (itemized), and the rows
// are in month order with labour before material.
std::vector<TReportRow> BuildReportRows(const std::vector<TReportLedgerRow>& ledger, TReportType type,
                                        bool itemized, const QDate& start, const QDate& end);

// Reads the ledger and builds the rows for a range of months.
std::vector<TReportRow> QueryReportRows(TReportType type, bool itemized, int startMonth, int startYear,
                                        int endMonth, int endYear);

// The amount a money cell shows as a plain number with two decimals and a dot
// ("-$1,234.50" -> "-1234.50"), whatever the regional money form; empty for a
// cell without an amount.
QString ReportAmountNumber(const TReportRow& row, int column);

// ------------------------------------------------------------------ the chart

// One bar set of the chart: its legend name, the list column it shows, and
// one value per month.
struct TReportChartSet {
    QString name;
    int column = 0;
    TReportRowKind kind = TReportRowKind::Month;
    QList<double> values;
};

// What the chart draws from the rows shown: one category per month, and a bar
// set per total column shown (tax total, sales total); itemized reports split
// each into a labour and a material set, stacked when only one total shows.
struct TReportChartData {
    QStringList categories;   // the month captions of the list
    QList<QDate> months;      // the first day of each of those months
    QList<TReportChartSet> sets;
    bool stacked = false;
};

// The labels under the bars, one per month of the chart: the short month name
// and the year ("Mar 2009"). A month that repeats (a ledger holding two rows
// for it) keeps its own label, made distinct by invisible zero-width spaces,
// since the axis would otherwise merge the two and shift every later bar.
QStringList ReportChartLabels(const QList<QDate>& months);

TReportChartData BuildReportChartData(const std::vector<TReportRow>& rows, TReportType type, bool itemized,
                                      const std::array<QString, kReportColumns>& captions);

// Tick values of a money axis that spans low..high (zero always included):
// round steps of 1, 2 or 5 times a power of ten, about five of them.
QList<double> ReportAxisTicks(double low, double high);
