#pragma once
// The CSV export of the reports screen: the rows shown, under the headings of
// the visible columns, as RFC 4180 CSV in UTF-8. Money cells go out as plain
// numbers with two decimals and a dot, so a spreadsheet reads them as numbers.
#include "maintenance/unitReportRules.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// One field: kept as it is unless it holds a comma, a double quote, a carriage
// return or a line feed; then it is put in double quotes with each double
// quote doubled.
QString CsvField(const QString& text);
// One record: the fields joined by commas, ended by CR LF.
QString CsvRecord(const QStringList& fields);

// The heading record and one record per row, over the visible columns. The
// type column and the date column go out as shown; the amount columns as the
// numbers the list shows (an amount shown as "####" goes out empty).
QByteArray ReportCsv(const std::vector<TReportRow>& rows, const std::array<QString, kReportColumns>& captions,
                     const QList<int>& visibleColumns);

// Writes the CSV to a file, replacing it whole or not at all; throws AppError
// when the file cannot be written.
void WriteReportCsv(const QString& path, const std::vector<TReportRow>& rows,
                    const std::array<QString, kReportColumns>& captions, const QList<int>& visibleColumns);
