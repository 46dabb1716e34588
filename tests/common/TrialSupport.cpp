#include "common/TrialSupport.h"

#include "db/DbConnection.h"
#include "db/unitStoredValues.h"
#include "documents/unitDocumentStore.h"

#include <QMap>
#include <array>
#include <cmath>

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

QStringList CheckStoredDocuments(DbConnection& db, int& documentsChecked)
{
    using TMonthSums = std::array<double, 8>;
    QStringList faults;
    QList<int> numbers;
    {
        DbStatement read = db.prepare(QStringLiteral("SELECT intInvNumber FROM tblInvDataHeader ORDER BY intInvNumber;"));
        while (read.step()) numbers << read.columnInt(0);
        if (db.countRows(QStringLiteral("SELECT intInvNumber FROM tblInvData WHERE intInvNumber NOT IN "
                                        "(SELECT intInvNumber FROM tblInvDataHeader);")))
            faults << QStringLiteral("lines without a header");
        if (db.countRows(QStringLiteral("SELECT intInvNumber FROM tblInvDataHeader GROUP BY intInvNumber "
                                        "HAVING COUNT(*) > 1;")))
            faults << QStringLiteral("two documents with one number");
    }
    const int counter = GetNextInvNumber(db);
    if (!numbers.isEmpty() && counter <= numbers.last())
        faults << QStringLiteral("counter %1 not above stored number %2").arg(counter).arg(numbers.last());

    QMap<int, TMonthSums> expected;   // year * 100 + month
    for (int number : std::as_const(numbers)) {
        const TLoadedDocument loaded = LoadDocument(db, number);
        const TInvHeader& h = loaded.document.header;
        ++documentsChecked;
        const QString name = InvDisplayName(h.strInvName, number);
        const int lineCount = h.strCustPONumber.mid(6).toInt();
        if (loaded.document.lines.size() != lineCount)
            faults << QStringLiteral("%1: %2 of %3 lines").arg(name).arg(loaded.document.lines.size()).arg(lineCount);
        const TLineSums sums = SumTrialLines(loaded.document.lines);
        if (sums.labour != h.dbLbrTotal || sums.material != h.dbMatTotal || h.dbLbrTax1Total != h.dbLbrTotal / 16)
            faults << QStringLiteral("%1: totals do not match its lines").arg(name);

        // The posting rules of the store, from the document as it stands: a
        // recorded invoice was added; a recorded credit was subtracted, after
        // its amounts had been added while it was a paid invoice.
        if (!h.strSavedToReport) continue;
        double sign = 0;
        if (SameInvType(h.strInvName, QStringLiteral("Invoice"))) sign = 1;
        else if (SameInvType(h.strInvName, QStringLiteral("Credit"))) sign = h.strPaidInFull ? 0 : -1;
        if (sign == 0) continue;
        const QDate date = loaded.savedData.dtInvDate;
        TMonthSums& month = expected[date.year() * 100 + date.month()];
        const auto amounts = LedgerAmountsOf(h).values();
        for (size_t i = 0; i < 8; ++i) month[i] += sign * amounts[i];
    }

    DbStatement ledger = db.prepare(QStringLiteral(
        "SELECT intReportYear,intReportMonth,dbLbrTax1Total,dbLbrTax2Total,dbLbrTax3Total,dbMatTax1Total,"
        "dbMatTax2Total,dbMatTax3Total,dbLbrTotal,dbMatTotal FROM tblReport;"));
    QMap<int, TMonthSums> stored;
    while (ledger.step()) {
        const int key = ledger.columnInt(0) * 100 + ledger.columnInt(1);
        if (stored.contains(key)) faults << QStringLiteral("two ledger rows for %1/%2").arg(key % 100).arg(key / 100);
        TMonthSums& month = stored[key];
        for (int i = 0; i < 8; ++i) month[size_t(i)] += ledger.columnDouble(2 + i);
    }
    QList<int> months = expected.keys() + stored.keys();
    for (int key : std::as_const(months)) {
        const TMonthSums want = expected.value(key, TMonthSums{});
        const TMonthSums have = stored.value(key, TMonthSums{});
        for (size_t i = 0; i < 8; ++i) {
            if (std::abs(want[i] - have[i]) > 1e-6) {
                faults << QStringLiteral("ledger %1/%2 column %3: stored %4, documents give %5")
                              .arg(key % 100).arg(key / 100).arg(i + 1).arg(have[i], 0, 'f', 4).arg(want[i], 0, 'f', 4);
                break;
            }
        }
    }
    return faults;
}
