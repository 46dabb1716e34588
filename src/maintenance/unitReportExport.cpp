#include "maintenance/unitReportExport.h"

#include "app/AppError.h"
#include "app/unitWholeFile.h"

#include <algorithm>

QString CsvField(const QString& text)
{
    static const QString special = QStringLiteral(",\"\r\n");
    const bool quote = std::any_of(text.begin(), text.end(), [](QChar c) { return special.contains(c); });
    if (!quote) return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString CsvRecord(const QStringList& fields)
{
    QStringList out;
    for (const QString& field : fields) out << CsvField(field);
    return out.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

QByteArray ReportCsv(const std::vector<TReportRow>& rows, const std::array<QString, kReportColumns>& captions,
                     const QList<int>& visibleColumns)
{
    QStringList headings;
    for (int column : visibleColumns) headings << captions[std::size_t(column)];
    QString csv = CsvRecord(headings);
    for (const TReportRow& row : rows) {
        QStringList fields;
        for (int column : visibleColumns) {
            fields << (column >= 2 ? ReportAmountNumber(row, column) : row.cells[std::size_t(column)]);
        }
        csv += CsvRecord(fields);
    }
    return csv.toUtf8();
}

void WriteReportCsv(const QString& path, const std::vector<TReportRow>& rows,
                    const std::array<QString, kReportColumns>& captions, const QList<int>& visibleColumns)
{
    SaveWholeFile(path, ReportCsv(rows, captions, visibleColumns));
}
