// Time from the start of the start-up sequence to a shown main window, headless:
// once in a fresh data folder (the database is built) and once in an existing
// one (the database is only read). Prints the median of several runs of each.
#include "shell/unitStartUp.h"
#include "shell/unitfrmMain.h"
#include "app/unitfrmSaving.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <vector>

namespace {

constexpr int kRuns = 9;

// StartUp, then the main window created and shown, as the program entry does.
double startToShownMs()
{
    QElapsedTimer timer;
    timer.start();
    StartUp();
    TfrmMain window;
    window.show();
    QCoreApplication::processEvents();
    const double elapsed = timer.nsecsElapsed() / 1e6;
    if (!window.isVisible()) qFatal("the main window was not shown");
    // The first-run notice closes itself after its remaining ticks; end it now.
    while (TfrmSaving* notice = CurrentSavingNotice()) notice->tick();
    return elapsed;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(const char* name, const std::vector<double>& times)
{
    QTextStream(stdout) << "startup " << name << ": " << QString::number(median(times), 'f', 1)
                        << " ms (median of " << times.size() << ")\n";
}

// The headless platform warns about every window it cannot size as asked;
// those lines would bury the figures.
void quietHeadlessNoise(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("propagateSizeHints")) || message.contains(QLatin1String("XDG_RUNTIME_DIR")))
        return;
    QTextStream(stderr) << qFormatLogMessage(type, context, message) << '\n';
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietHeadlessNoise);
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));

    std::vector<double> fresh;
    for (int run = 0; run < kRuns; ++run) {
        QTemporaryDir dataHome;
        qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
        fresh.push_back(startToShownMs());
    }
    report("fresh", fresh);

    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    startToShownMs(); // builds the database that the timed runs find
    std::vector<double> existing;
    for (int run = 0; run < kRuns; ++run) existing.push_back(startToShownMs());
    report("existing", existing);
    return 0;
}
