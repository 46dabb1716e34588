#pragma once
// The five data feeds of the print module. Each reads the data its caller left
// for printing (document lines and notes, or a screen's list as it stands) and
// answers the engine row by row.
#include "company/unitCompanyData.h"
#include "db/DbConnection.h"
#include "documents/unitDocumentModel.h"
#include "printing/unitReportFeed.h"

#include <QList>
#include <QStringList>
#include <array>
#include <optional>

// Which amount columns a document prints, filled from the right: the line
// total, the price each and the quantity, each when its setting is on; on a
// work order the total and price each only with blShowTotalonWO.
enum class AmountColumn { Total, PriceEach, Quantity };
QList<AmountColumn> ShownAmountColumns(const QString& invType, const TrecCmpnyInvData& settings);
// The headings right, middle, left: "Total", "Price Each", "Quantity" packed from the right.
std::array<QString, 3> AmountHeadings(const QString& invType, const TrecCmpnyInvData& settings);

// The notes as printed lines: split at line breaks; a final line break adds no empty line.
QStringList NotesLines(const QString& notes);

class InvoiceLinesFeed : public ReportFeed {
public:
    InvoiceLinesFeed(QList<TInvLine> lines, const QString& notes, bool manualForm, QString invType,
                     TrecCmpnyInvData settings);
    QString dataView() const override { return QStringLiteral("DataViewInvoice"); }
    std::vector<FeedField> fields() const override;
    int rowCount() override;
    QVariantList row(int index) override;

private:
    QList<TInvLine> m_lines;
    QStringList m_notes;
    bool m_manualForm;
    QString m_invType;
    TrecCmpnyInvData m_settings;
};

// One customer per listed "Cust ID", read from the database row by row.
class CustomerListFeed : public ReportFeed {
public:
    explicit CustomerListFeed(QStringList customerIds) : m_ids(std::move(customerIds)) {}
    QString dataView() const override { return QStringLiteral("DataViewCustomerList"); }
    std::vector<FeedField> fields() const override;
    int rowCount() override { return int(m_ids.size()); }
    QVariantList row(int index) override;

private:
    QStringList m_ids;
    DbConnection m_connection;   // one connection and statement for the run
    std::optional<DbStatement> m_read;
};

// One row of the price sheet's list as shown: name, labour and material price
// (money text) and the two taxable flags ("-1"/"0", or "True"/"False").
struct TPriceSheetPrintRow {
    QString strPrcItemName;
    QString strLabPrice;
    QString strMatPrice;
    QString strLabTaxable;
    QString strMatTaxable;
};

class PriceSheetFeed : public ReportFeed {
public:
    explicit PriceSheetFeed(QList<TPriceSheetPrintRow> rows) : m_rows(std::move(rows)) {}
    QString dataView() const override { return QStringLiteral("DataViewPriceSheet"); }
    std::vector<FeedField> fields() const override;
    int rowCount() override { return int(m_rows.size()); }
    QVariantList row(int index) override;

private:
    QList<TPriceSheetPrintRow> m_rows;
};

// One entry of the planner's activity list: its "ActID" and its "Date" column
// as the list shows it (display form; printed as it stands).
struct TPlannerPrintRow {
    QString strActID;
    QString strDate;
};

class PlannerFeed : public ReportFeed {
public:
    PlannerFeed(QList<TPlannerPrintRow> rows, bool dayList) : m_rows(std::move(rows)), m_dayList(dayList) {}
    QString dataView() const override { return QStringLiteral("DataViewPlanner"); }
    std::vector<FeedField> fields() const override;
    int rowCount() override { return int(m_rows.size()); }
    QVariantList row(int index) override;

private:
    QList<TPlannerPrintRow> m_rows;
    bool m_dayList;
    DbConnection m_connection;
    std::optional<DbStatement> m_read;
};

// Date, type, tax 1, tax 2, tax 3, tax total and sales total, as displayed.
using TReportPrintRow = std::array<QString, 7>;

class ReportsFeed : public ReportFeed {
public:
    explicit ReportsFeed(QList<TReportPrintRow> rows) : m_rows(std::move(rows)) {}
    QString dataView() const override { return QStringLiteral("DataViewReports"); }
    std::vector<FeedField> fields() const override;
    int rowCount() override { return int(m_rows.size()); }
    QVariantList row(int index) override;

private:
    QList<TReportPrintRow> m_rows;
};
