// A long list keeps each row as one compact block: whatever goes in comes back
// out the same, texts of any length and script, whole numbers of any size and
// amounts to the last bit, also across the chunks the blocks are kept in.
#include "common/TestSupport.h"

#include "app/unitRowBlocks.h"

#include <cmath>
#include <cstring>
#include <limits>

class TestRowBlocks : public QObject {
    Q_OBJECT

private slots:
    void valuesComeBackAsWritten_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("integer");
        QTest::addColumn<double>("real");
        QTest::newRow("empty text, zero") << QString() << qint64(0) << 0.0;
        QTest::newRow("plain") << QStringLiteral("Joes Bar and Grill") << qint64(1043) << 12.5;
        QTest::newRow("other scripts") << QStringLiteral("Ünïcödé ΣΟΦΙΑ \U0001F600") << qint64(-1) << -0.1;
        QTest::newRow("quotes and line breaks") << QStringLiteral("a \"b\"\n%_\t") << qint64(127) << 1e300;
        QTest::newRow("smallest whole number") << QStringLiteral("x") << std::numeric_limits<qint64>::min() << -0.0;
        QTest::newRow("largest whole number") << QStringLiteral("y") << std::numeric_limits<qint64>::max()
                                              << std::numeric_limits<double>::denorm_min();
        QTest::newRow("text larger than a chunk") << QString(3 * 1024 * 1024, QLatin1Char('w')) << qint64(128)
                                                  << 922337203685477.5807;
    }

    void valuesComeBackAsWritten()
    {
        QFETCH(QString, text);
        QFETCH(qint64, integer);
        QFETCH(double, real);
        TRowBlocks blocks;
        blocks.append().text(QStringLiteral("before")).finish();
        blocks.append().integer(integer).text(text).real(real).text(QByteArrayView(text.toUtf8())).integer(integer / -3).finish();
        blocks.append().text(QStringLiteral("after")).finish();

        QCOMPARE(blocks.size(), 3);
        TRowReader row = blocks.row(1);
        QCOMPARE(row.integer(), integer);
        QCOMPARE(row.text(), text);
        const double back = row.real();
        QVERIFY(std::memcmp(&back, &real, sizeof real) == 0); // the same bits, -0.0 included
        QCOMPARE(row.utf8(), QByteArrayView(text.toUtf8()));
        QCOMPARE(row.integer(), integer / -3);
        QCOMPARE(blocks.row(0).text(), QStringLiteral("before"));
        QCOMPARE(blocks.row(2).text(), QStringLiteral("after"));
    }

    // Many rows over many chunks each keep their own values; texts can be
    // passed over to reach a later value, and clearing empties the blocks.
    void manyRowsKeepTheirValues()
    {
        TRowBlocks blocks;
        constexpr int kRows = 200000;
        for (int i = 0; i < kRows; ++i)
            blocks.append().text(QStringLiteral("Company %1").arg(i)).text(QString(i % 50, QChar(0xE9))).integer(i).finish();
        QCOMPARE(blocks.size(), kRows);
        for (int i : {0, 1, 4095, 70000, kRows - 1}) {
            TRowReader row = blocks.row(i);
            QCOMPARE(row.text(), QStringLiteral("Company %1").arg(i));
            row.skipTexts(1);
            QCOMPARE(row.integer(), qint64(i));
            QCOMPARE(blocks.row(i).utf8(), QByteArrayView(QStringLiteral("Company %1").arg(i).toUtf8()));
        }
        blocks.clear();
        QCOMPARE(blocks.size(), 0);
        blocks.append().integer(7).finish();
        QCOMPARE(blocks.row(0).integer(), qint64(7));
    }
};

FENNICK_TEST_MAIN(TestRowBlocks)
#include "test_rowblocks.moc"
