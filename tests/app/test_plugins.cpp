// The plug-ins (app/unitPlugin): each part with a large library of its own is
// loaded the first time it is used; a missing or damaged plug-in file gives an
// error that names the file, and the rest of the program goes on working.
#include "common/TestDatabase.h"
#include "common/TestSupport.h"

#include "app/AppError.h"
#include "app/unitPlugin.h"
#include "db/unitServerEngine.h"
#include "email/unitSmtpSender.h"
#include "maintenance/unitfrmReport.h"
#include "planner/unitActivityCalendarFile.h"
#include "printing/unitReportOutput.h"

#include <QChartView>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <functional>

namespace {

struct PluginUse {
    const char* fileName;
    // Uses the part; throws AppError when it cannot.
    std::function<void()> use;
};

QString chartMissingText()
{
    TfrmReport screen;
    if (screen.findChild<QChartView*>()) return {};
    auto* missing = screen.findChild<QLabel*>(QStringLiteral("lblChartMissing"));
    return missing ? missing->text() : QString();
}

const QList<PluginUse>& pluginUses()
{
    static const QList<PluginUse> uses{
        {"fennick-mail.so",
         [] {
             SmtpSettings settings;
             settings.host = QStringLiteral("127.0.0.1");
             settings.port = 1;
             SendSmtpMessage(settings, QStringLiteral("a@example.com"), QStringLiteral("b@example.com"), "x");
         }},
        {"fennick-pdfinfo.so",
         [] { SetPdfDocumentInfo(QStringLiteral("/nonexistent/in.pdf"), QStringLiteral("/nonexistent/out.pdf"), {}); }},
        {"fennick-calendar.so", [] { ActivitiesToICalendar({}, QStringLiteral("test")); }},
        {"fennick-postgres.so", [] { ServerEngine(); }},
        // The reports screen opens without its chart and says why in its place.
        {"fennick-charts.so",
         [] {
             const QString text = chartMissingText();
             if (!text.isEmpty()) throw AppError(text);
         }},
    };
    return uses;
}

QString failureOf(const std::function<void()>& use)
{
    try {
        use();
    } catch (const AppError& error) {
        return error.message();
    }
    return {};
}

} // namespace

class TestPlugins : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { CreateTestDatabase(); }
    void cleanup() { SetPluginFolder(QString()); }

    void missingOrDamagedPluginNamesItsFile_data()
    {
        QTest::addColumn<int>("use");
        QTest::addColumn<bool>("damaged");
        for (int index = 0; index < pluginUses().size(); ++index) {
            QTest::addRow("%s missing", pluginUses()[index].fileName) << index << false;
            QTest::addRow("%s damaged", pluginUses()[index].fileName) << index << true;
        }
    }
    void missingOrDamagedPluginNamesItsFile()
    {
        QFETCH(int, use);
        QFETCH(bool, damaged);
        const PluginUse& plugin = pluginUses()[use];
        QTemporaryDir folder;
        const QString path = folder.filePath(QString::fromLatin1(plugin.fileName));
        if (damaged) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("not a shared object");
        }
        SetPluginFolder(folder.path());
        const QString message = failureOf(plugin.use);
        QVERIFY2(message.contains(path), qPrintable(message));
        QVERIFY2(message.contains(damaged ? QStringLiteral("cannot be loaded from") : QStringLiteral("is missing")),
                 qPrintable(message));
    }

    // From the program's own folder each part loads (also after a failed
    // load above) and does its work.
    void pluginsLoadFromTheProgramFolder()
    {
        SetPluginFolder(QString());
        QVERIFY(ActivitiesToICalendar({}, QStringLiteral("test")).startsWith("BEGIN:VCALENDAR"));
        QVERIFY(chartMissingText().isEmpty());
        TfrmReport screen;
        QVERIFY(screen.findChild<QChartView*>(QStringLiteral("ChartViewReport")));
        ServerEngine();
        const QString pdfFailure = failureOf(pluginUses()[1].use);
        QVERIFY2(pdfFailure.startsWith(QStringLiteral("Cannot write the PDF file /nonexistent/out.pdf: ")),
                 qPrintable(pdfFailure));
        QVERIFY2(!pdfFailure.contains(QStringLiteral(".so")), qPrintable(pdfFailure));
        const QString mailFailure = failureOf(pluginUses()[0].use);
        QVERIFY2(mailFailure.contains(QStringLiteral("refused the connection")), qPrintable(mailFailure));
    }
};

FENNICK_TEST_MAIN(TestPlugins)
#include "test_plugins.moc"
