// Stored forms and their conversions, with the program's messages.
#include "common/TestSupport.h"

#include "app/AppError.h"
#include "app/unitDateHelpers.h"
#include "app/unitRegional.h"
#include "db/unitStoredValues.h"

class TestStoredValues : public QObject {
    Q_OBJECT

    template <typename F>
    static QString errorOf(F&& f)
    {
        try {
            f();
        } catch (const AppError& error) {
            return error.message();
        }
        return QString();
    }

private slots:
    void flags_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("value");
        QTest::newRow("-1") << "-1" << true;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("1") << "1" << true;
        QTest::newRow("True") << "True" << true;
        QTest::newRow("false") << "false" << false;
        QTest::newRow("TRUE") << "TRUE" << true;
    }
    void flags()
    {
        QFETCH(QString, text);
        QFETCH(bool, value);
        QCOMPARE(StrToBool(text), value);
        QCOMPARE(BoolToStr(value), value ? QStringLiteral("-1") : QStringLiteral("0"));
    }

    void conversionMessages()
    {
        QCOMPARE(errorOf([] { StrToBool(QString()); }), QStringLiteral("'' is not a valid boolean value"));
        QCOMPARE(errorOf([] { StrToBool(QStringLiteral("yes")); }), QStringLiteral("'yes' is not a valid boolean value"));
        QCOMPARE(errorOf([] { StrToFloat(QStringLiteral("1.2.3")); }), QStringLiteral("'1.2.3' is not a valid floating point value"));
        QCOMPARE(errorOf([] { StrToFloat(QStringLiteral("1,234")); }), QStringLiteral("'1,234' is not a valid floating point value"));
        QCOMPARE(errorOf([] { StrToInt(QStringLiteral("12a")); }), QStringLiteral("''12a'' is not a valid integer value"));
        QCOMPARE(errorOf([] { StrToDate(QStringLiteral("29/3/2010")); }), QStringLiteral("''29/3/2010'' is not a valid date"));
        QCOMPARE(errorOf([] { StrToDateTime(QStringLiteral("3/29/2010 25:00")); }),
                 QStringLiteral("''3/29/2010 25:00'' is not a valid date and time"));
    }

    void numbers()
    {
        QCOMPARE(StrToFloat(QStringLiteral(" 12.5 ")), 12.5);
        QCOMPARE(StrToInt(QStringLiteral("500")), 500);
        QCOMPARE(FloatToStr(12.5), QStringLiteral("12.5"));
        QCOMPARE(FloatToStr(100), QStringLiteral("100"));
        QCOMPARE(FloatToStr(-3.25), QStringLiteral("-3.25"));
        QCOMPARE(FloatToStr(0.409959), QStringLiteral("0.409959"));
        QCOMPARE(FloatToStr(0.1 + 0.2), QStringLiteral("0.3"));
        QCOMPARE(FloatToStr(0.000001), QStringLiteral("1E-06"));
        QCOMPARE(FloatToStr(123456789012345.0), QStringLiteral("123456789012345"));
        QCOMPARE(FloatToStr(1234567890123456.0), QStringLiteral("1.23456789012346E+15"));
    }

    void datesAndTimes()
    {
        QCOMPARE(DateToStr(QDate(2010, 3, 29)), QStringLiteral("3/29/2010"));
        QCOMPARE(StrToDate(QStringLiteral("3/29/2010")), QDate(2010, 3, 29));
        QCOMPARE(DateTimeToStr(QDateTime(QDate(2010, 3, 29), QTime(8, 30))), QStringLiteral("3/29/2010 8:30:00 AM"));
        QCOMPARE(DateTimeToStr(QDateTime(QDate(2010, 3, 29), QTime(0, 0))), QStringLiteral("3/29/2010"));
        QCOMPARE(StrToDateTime(QStringLiteral("3/29/2010 1:05:09 PM")), WallClock(QDate(2010, 3, 29), QTime(13, 5, 9)));
        QCOMPARE(StrToDateTime(QStringLiteral("3/29/2010")), WallClock(QDate(2010, 3, 29)));
    }

    // Stored date-times are read by a quick reader for the exact written form
    // and by the locale's parser otherwise: both must give what the locale's
    // parser alone gives, and refuse what it refuses.
    void dateTimeReadersAgree_data()
    {
        QTest::addColumn<QString>("text");
        for (const char* text : {"3/29/2010 1:05:09 PM", "12/31/1999 12:00:00 AM", "1/1/2000 12:59:59 PM",
                                 "3/29/2010", "03/29/2010 8:00:00 AM", "3/29/2010 8:00 AM", " 3/29/2010 ",
                                 "3/29/2010 1:05:09 pm", "2/29/2011 8:00:00 AM", "2/29/2012", "13/1/2010",
                                 "3/29/10", "3/29/2010 13:00:00 PM", "3/29/2010 0:30:00 AM", "3/29/2010 8:60:00 AM",
                                 "3/29/2010 8:00:00", "3/29/2010 8:00:00 AMX", "3//2010", ""})
            QTest::newRow(text) << QString::fromLatin1(text);
    }
    void dateTimeReadersAgree()
    {
        QFETCH(QString, text);
        const QLocale us(QLocale::English, QLocale::UnitedStates);
        const QString trimmed = text.trimmed();
        const int blank = trimmed.indexOf(' ');
        QDateTime expected;
        if (blank < 0) {
            const QDate date = us.toDate(trimmed, QStringLiteral("M/d/yyyy"));
            if (date.isValid()) expected = QDateTime(date, QTime(0, 0));
        } else {
            const QDate date = us.toDate(trimmed.left(blank), QStringLiteral("M/d/yyyy"));
            const QString timeText = trimmed.mid(blank + 1);
            QTime time = us.toTime(timeText, QStringLiteral("h:mm:ss AP"));
            if (!time.isValid()) time = us.toTime(timeText, QStringLiteral("h:mm AP"));
            if (date.isValid() && time.isValid()) expected = QDateTime(date, time);
        }
        QDateTime read;
        const QString error = errorOf([&] { read = StrToDateTime(text); });
        QCOMPARE(error.isEmpty(), expected.isValid());
        if (expected.isValid()) QCOMPARE(read, expected);
    }

    void currency()
    {
        QCOMPARE(FormatCurrency(1234.5), QStringLiteral("$1,234.50"));
        QCOMPARE(FormatCurrency(-1234.5), QStringLiteral("-$1,234.50"));
        QCOMPARE(FormatCurrency(0), QStringLiteral("$0.00"));
    }
};

FENNICK_TEST_MAIN(TestStoredValues)
#include "test_storedvalues.moc"
