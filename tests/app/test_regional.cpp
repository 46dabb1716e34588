// Stored forms stay fixed whatever the regional settings; display forms (money,
// dates, typed numbers, month and day names) follow them, and the C/POSIX
// locale shows the US forms.
#include "common/TestSupport.h"

#include "app/AppError.h"
#include "app/unitCurrencyForm.h"
#include "app/unitDateHelpers.h"
#include "app/unitNumberInput.h"
#include "app/unitRegional.h"
#include "documents/unitDocumentModel.h"

#include <QProcess>
#include <QProcessEnvironment>

namespace {

const QChar kNbsp(0x00A0);
const QString kEuro = QString(kNbsp) + QChar(0x20AC);

} // namespace

class TestRegional : public QObject {
    Q_OBJECT

private slots:
    void moneyFollowsTheLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("amount");
        QTest::addColumn<QString>("text");
        QTest::newRow("US") << "en_US" << 1234.5 << "$1,234.50";
        QTest::newRow("US negative") << "en_US" << -1234.5 << "-$1,234.50";
        QTest::newRow("US rounding") << "en_US" << 0.125 << "$0.13";
        QTest::newRow("US negative below a cent") << "en_US" << -0.004 << "$0.00";
        QTest::newRow("C") << "C" << 1234.5 << "$1,234.50";
        QTest::newRow("C negative") << "C" << -1234567.891 << "-$1,234,567.89";
        QTest::newRow("GB") << "en_GB" << 1234.5 << QString::fromUtf8("£1,234.50");
        QTest::newRow("GB negative") << "en_GB" << -1234.5 << QString::fromUtf8("-£1,234.50");
        QTest::newRow("DE") << "de_DE" << 1234.5 << "1.234,50" + kEuro;
        QTest::newRow("DE negative") << "de_DE" << -1234.5 << "-1.234,50" + kEuro;
        QTest::newRow("DE rounding") << "de_DE" << 12.345 << "12,35" + kEuro;
        QTest::newRow("JP keeps cents") << "ja_JP" << 1234.5 << QString::fromUtf8("￥1,234.50");
    }
    void moneyFollowsTheLocale()
    {
        QFETCH(QString, locale);
        QFETCH(double, amount);
        QFETCH(QString, text);
        ScopedLocale pinned(locale == QLatin1String("C") ? QLocale::c() : QLocale(locale));
        QCOMPARE(FormatMoney(amount), text);
    }

    // The quick currency text is the same as Qt's in every locale Qt knows,
    // including those it leaves to Qt (other grouping, other digits).
    void quickCurrencyTextIsQtsInEveryLocale()
    {
        const QList<QLocale> locales =
            QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
        QVERIFY(locales.size() > 100);
        const qint64 amounts[] = {0, 5, 50, 1234, 99999, 100000, 123456, 1234567, 7654321098, 100000000000000,
                                  qint64(1) << 50, (qint64(1) << 50) + 1, -1, -123456};
        for (const QLocale& locale : locales) {
            ScopedLocale pinned(locale);
            for (const qint64 cents : amounts)
                QCOMPARE(FormatCurrencyCents(cents) + QLatin1Char(' ') + locale.name(),
                         FormatCurrency(double(cents) / 100) + QLatin1Char(' ') + locale.name());
        }
        // Written by the quick form: the US form and a locale with its own separators.
        for (const char* name : {"en_US", "de_DE", "fr_CH"}) {
            QVERIFY2(TCurrencyForm(QLocale(QLatin1String(name)), QLocale(QLatin1String(name)).currencySymbol()).understood(),
                     name);
        }
    }

    void datesShowInTheLocaleAndStayStoredInOneForm_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("dateTime");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("day");
        QTest::newRow("US") << "en_US" << "12/25/2026" << "12/25/2026 8:05:09 PM" << "December" << "Friday";
        QTest::newRow("C") << "C" << "12/25/2026" << "12/25/2026 8:05:09 PM" << "December" << "Friday";
        QTest::newRow("GB") << "en_GB" << "25/12/2026" << "25/12/2026 20:05:09" << "December" << "Friday";
        QTest::newRow("DE: two-digit year form widened") << "de_DE" << "25.12.2026" << "25.12.2026 20:05:09"
                                                        << "Dezember" << "Freitag";
        QTest::newRow("FR") << "fr_FR" << "25/12/2026" << "25/12/2026 20:05:09" << QString::fromUtf8("décembre")
                            << "vendredi";
    }
    void datesShowInTheLocaleAndStayStoredInOneForm()
    {
        QFETCH(QString, locale);
        QFETCH(QString, date);
        QFETCH(QString, dateTime);
        QFETCH(QString, month);
        QFETCH(QString, day);
        ScopedLocale pinned(locale == QLatin1String("C") ? QLocale::c() : QLocale(locale));
        const QDate christmas(2026, 12, 25);
        const QDateTime evening = WallClock(christmas, QTime(20, 5, 9));

        QCOMPARE(DisplayDate(christmas), date);
        QCOMPARE(DisplayDateTime(evening), dateTime);
        QCOMPARE(DisplayDateTime(QDateTime(christmas, QTime(0, 0))), date);
        QCOMPARE(DisplayStoredDate(QStringLiteral("12/25/2026")), date);
        QCOMPARE(DisplayStoredDateTime(QStringLiteral("12/25/2026 8:05:09 PM")), dateTime);
        QCOMPARE(DisplayLocale().toDate(date, DisplayDateFormat()), christmas);   // a date box reads its own text
        QCOMPARE(DisplayMonthName(12), month);
        QCOMPARE(DisplayMonthYear(2026, 12), month + QStringLiteral(" 2026"));
        QCOMPARE(DisplayDayName(christmas.dayOfWeek()), day);

        // What is written to the database does not move with the setting.
        QCOMPARE(DateToStr(christmas), QStringLiteral("12/25/2026"));
        QCOMPARE(DateTimeToStr(evening), QStringLiteral("12/25/2026 8:05:09 PM"));
        QCOMPARE(StrToDateTime(QStringLiteral("12/25/2026 8:05:09 PM")), evening);
        QCOMPARE(LongMonthName(12), QStringLiteral("December"));
        QCOMPARE(LongDayName(5), QStringLiteral("Friday"));
        QCOMPARE(DecimalSeparator(), QLatin1Char('.'));
    }

    void storedTextThatIsNoDateIsShownAsItStands()
    {
        ScopedLocale pinned("de_DE");
        QCOMPARE(DisplayStoredDate(QString()), QString());
        QCOMPARE(DisplayStoredDate(QStringLiteral("someday")), QStringLiteral("someday"));
        QCOMPARE(DisplayStoredDateTime(QStringLiteral("3/29/2010 25:00:00 AM")), QStringLiteral("3/29/2010 25:00:00 AM"));
    }

    // A typed number is read whole: the regional form with or without
    // grouping, the other convention's decimal where it cannot be grouping,
    // and a text that reads as two amounts is refused with both readings.
    void typedNumbersAreReadAsMeant_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");   // empty: not one number
        QTest::addColumn<QString>("message");  // ParseTypedNumber's refusal
        const QString notANumber = QStringLiteral("'%1' is not a valid floating point value");
        QTest::newRow("DE comma") << "de_DE" << "12,5" << "12.5" << "";
        QTest::newRow("DE whole") << "de_DE" << "1234" << "1234" << "";
        QTest::newRow("DE grouped with decimals") << "de_DE" << "1.234,50" << "1234.50" << "";
        QTest::newRow("DE grouped twice") << "de_DE" << "1.234.567" << "1234567" << "";
        QTest::newRow("DE point that cannot be grouping") << "de_DE" << "2.5" << "2.5" << "";
        QTest::newRow("DE zero point") << "de_DE" << "0.500" << "0.500" << "";
        QTest::newRow("DE US grouping") << "de_DE" << "1,234.50" << "1234.50" << "";
        QTest::newRow("DE comma three decimals") << "de_DE" << "1,234" << "1.234" << "";
        QTest::newRow("DE two readings") << "de_DE" << "1.234" << ""
                                         << "'1.234' can mean 1234 or 1,234: please type the amount as one of these.";
        QTest::newRow("DE two readings, grouped") << "de_DE" << "12.345" << ""
                                                  << "'12.345' can mean 12345 or 12,345: please type the amount as one of these.";
        QTest::newRow("DE two commas") << "de_DE" << "1,2,3" << "" << notANumber.arg("1,2,3");
        QTest::newRow("DE separator alone") << "de_DE" << "," << "" << notANumber.arg(",");
        QTest::newRow("DE bad grouping") << "de_DE" << "12.34,5" << "" << notANumber.arg("12.34,5");
        QTest::newRow("US point") << "en_US" << "12.5" << "12.5" << "";
        QTest::newRow("US grouped with decimals") << "en_US" << "1,234.50" << "1234.50" << "";
        QTest::newRow("US comma that cannot be grouping") << "en_US" << "2,5" << "2.5" << "";
        QTest::newRow("US German grouping") << "en_US" << "1.234,50" << "1234.50" << "";
        QTest::newRow("US two readings") << "en_US" << "1,234" << ""
                                         << "'1,234' can mean 1234 or 1.234: please type the amount as one of these.";
        QTest::newRow("US letters") << "en_US" << "12a" << "" << notANumber.arg("12a");
        QTest::newRow("C point") << "C" << "0.75" << "0.75" << "";
        QTest::newRow("CH point") << "de_CH" << "12.5" << "12.5" << "";
    }
    void typedNumbersAreReadAsMeant()
    {
        QFETCH(QString, locale);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(QString, message);
        ScopedLocale pinned(locale == QLatin1String("C") ? QLocale::c() : QLocale(locale));
        double number = -1;
        QCOMPARE(TryParseTypedNumber(typed, number), !stored.isEmpty());
        if (!stored.isEmpty()) {
            QCOMPARE(StoredNumberText(typed), stored);
            QCOMPARE(number, stored.toDouble());
            QCOMPARE(ParseTypedNumber(typed), stored.toDouble());
            return;
        }
        try {
            ParseTypedNumber(typed);
            QFAIL("read as a number");
        } catch (const AppError& error) {
            QCOMPARE(error.message(), message);
        }
    }

    // Every separator typed stays in a number box: digits and both separators
    // get through, letters do not.
    void numberBoxesKeepEverySeparator()
    {
        for (const char* locale : {"de_DE", "en_US"}) {
            ScopedLocale pinned(locale);
            for (const char* kept : {"0", "9", ".", ","})
                QVERIFY2(AllowNumDecimalOnly(QLatin1Char(*kept), QStringLiteral("1.2,3")), kept);
            for (const char* dropped : {"a", "-", " ", "e"})
                QVERIFY2(!AllowNumDecimalOnly(QLatin1Char(*dropped), QString()), dropped);
        }
        ScopedLocale german("de_DE");
        QCOMPARE(DisplayNumberText(QStringLiteral("12.5")), QStringLiteral("12,5"));
    }

    // The real start-up path: the settings come from the environment, through
    // Qt's system locale, in a program started with them.
    void environmentSettingsReachTheDisplay_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QString>("forms");
        QTest::newRow("no setting at all") << QStringList{} << "$1,234.50|-$1,234.50|12/25/2026|.|December";
        QTest::newRow("POSIX") << QStringList{"LANG=POSIX"} << "$1,234.50|-$1,234.50|12/25/2026|.|December";
        QTest::newRow("US") << QStringList{"LANG=en_US.UTF-8"} << "$1,234.50|-$1,234.50|12/25/2026|.|December";
        QTest::newRow("GB") << QStringList{"LANG=en_GB.UTF-8"}
                            << QString::fromUtf8("£1,234.50|-£1,234.50|25/12/2026|.|December");
        QTest::newRow("DE") << QStringList{"LANG=de_DE.UTF-8"}
                            << "1.234,50" + kEuro + "|-1.234,50" + kEuro + "|25.12.2026|,|Dezember";
    }
    void environmentSettingsReachTheDisplay()
    {
        QFETCH(QStringList, environment);
        QFETCH(QString, forms);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LANG", "LANGUAGE", "LC_ALL", "LC_NUMERIC", "LC_MONETARY", "LC_TIME", "LC_MESSAGES"})
            env.remove(QLatin1String(name));
        for (const QString& entry : environment) env.insert(entry.section('=', 0, 0), entry.section('=', 1));
        env.insert(QStringLiteral("FENNICK_PRINT_REGIONAL_FORMS"), QStringLiteral("1"));
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("printRegionalForms")});
        QVERIFY(child.waitForFinished(60000));
        const QString output = QString::fromUtf8(child.readAllStandardOutput());
        const int start = output.indexOf(QStringLiteral("FORMS["));
        QVERIFY2(start >= 0, qPrintable(output));
        const int end = output.indexOf(QLatin1Char(']'), start);
        QCOMPARE(output.mid(start + 6, end - start - 6), forms);
    }

    // Run by the test above in a child program with its own environment.
    void printRegionalForms()
    {
        if (qEnvironmentVariableIsEmpty("FENNICK_PRINT_REGIONAL_FORMS")) QSKIP("run from environmentSettingsReachTheDisplay");
        QLocale::setDefault(QLocale::system());
        const QString forms = QStringList{FormatMoney(1234.5), FormatMoney(-1234.5), DisplayDate(QDate(2026, 12, 25)),
                                          QString(DisplayDecimalSeparator()), DisplayMonthName(12)}
                                  .join(QLatin1Char('|'));
        fputs((QStringLiteral("FORMS[") + forms + QStringLiteral("]\n")).toUtf8().constData(), stdout);
        fflush(stdout);
    }
};

FENNICK_TEST_MAIN(TestRegional)
#include "test_regional.moc"
