#include "common/TrialSupport.h"

#include "db/DbConnection.h"
#include "db/unitStoredValues.h"

#include <QStringList>

QString DumpDatabase()
{
    DbConnection db;
    QStringList tables;
    {
        DbStatement names =
            db.prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name;"));
        while (names.step()) tables << names.columnText(0);
    }
    QString dump;
    for (const QString& table : tables) {
        dump += QStringLiteral("== %1\n").arg(table);
        // Table names come from the file itself, never from a user.
        DbStatement rows = db.prepare(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid;").arg(table));
        while (rows.step()) {
            QStringList cells;
            for (int c = 0; c < rows.columnCount(); ++c) {
                if (rows.columnIsNull(c)) cells << QStringLiteral("NULL");
                else {
                    // Doubles at full precision; text as stored.
                    const QString text = rows.columnText(c);
                    const double number = rows.columnDouble(c);
                    cells << text + QStringLiteral("|") + QString::number(number, 'g', 17);
                }
            }
            dump += cells.join(QStringLiteral("\t")) + QLatin1Char('\n');
        }
    }
    return dump;
}

QString IntegrityCheck()
{
    DbConnection db;
    DbStatement check = db.prepare(QStringLiteral("PRAGMA integrity_check;"));
    QStringList lines;
    while (check.step()) lines << check.columnText(0);
    return lines.join(QLatin1Char('\n'));
}

TInvDocument MakeTrialDocument(int number, const QString& typeName, int lineCount, int variant, const QString& date,
                               bool paidInFull)
{
    TInvDocument document;
    for (int i = 0; i < lineCount; ++i) {
        const int quantity = 1 + (i + variant) % 9;
        const double labour = 0.25 * ((i * 7 + variant * 3) % 400);
        const double material = 0.25 * ((i * 13 + variant * 5) % 300);
        document.lines.append({QStringLiteral("Item %1 \"%2\"").arg(i + 1).arg(variant), QString::number(quantity),
                               (i % 2) ? QStringLiteral("-1") : QStringLiteral("0"), QStringLiteral("-1"),
                               FloatToStr(labour), FloatToStr(material)});
    }
    const TLineSums sums = SumTrialLines(document.lines);
    TInvHeader& h = document.header;
    h.intInvNumber = number;
    h.strInvName = typeName;
    h.strCustCmpnyName = QStringLiteral("Trial Co %1").arg(variant);
    h.strCustFullName = QStringLiteral("Pat O'Neil");
    h.strCustPONumber = QStringLiteral("lines %1").arg(lineCount);
    h.strInvDate = date;
    h.strPaidInFull = paidInFull;
    h.dbLbrTotal = sums.labour;
    h.dbMatTotal = sums.material;
    h.dbLbrTax1Total = sums.labour / 16;
    h.dbLbrTax2Total = sums.labour / 32;
    h.dbLbrTax3Total = sums.labour / 64;
    h.dbMatTax1Total = sums.material / 16;
    h.dbMatTax2Total = sums.material / 32;
    h.dbMatTax3Total = sums.material / 64;
    h.dbInvTotal = (sums.labour + sums.material) * (1 + 1.0 / 16 + 1.0 / 32 + 1.0 / 64);
    document.strInvNotes = QStringLiteral("Trial notes\r\nsecond line");
    return document;
}

TLineSums SumTrialLines(const QList<TInvLine>& lines)
{
    TLineSums sums;
    for (const TInvLine& line : lines) {
        const double quantity = line.strPrcItmQuantity.toDouble();
        sums.labour += quantity * StrToFloat(line.strLbrPrc);
        sums.material += quantity * StrToFloat(line.strMatPrc);
    }
    return sums;
}
