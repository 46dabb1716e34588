// An empty Qt Widgets window, started as the program is started: the base line
// of the start-up benchmark. Writes one line once the window is shown and
// painted. With FENNICK_STARTUP_TRACE set, writes to stderr when main was
// entered after the process start (dynamic loading) and when the window was shown.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <QWidget>

#include <ctime>
#include <unistd.h>

namespace {

double msSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly)) return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble();
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return (now.tv_sec + now.tv_nsec / 1e9) * 1000.0 - startTicks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

} // namespace

int main(int argc, char** argv)
{
    const bool trace = qEnvironmentVariableIsSet("FENNICK_STARTUP_TRACE");
    QElapsedTimer timer;
    timer.start();
    QTextStream err(stderr);
    if (trace) err << "  main entered " << QString::number(msSinceProcessStart(), 'f', 0)
                   << " ms after the process start (clock ticks of 10 ms)\n";
    QApplication app(argc, argv);
    if (trace) err << "  QApplication: " << QString::number(timer.nsecsElapsed() / 1e6, 'f', 1) << " ms\n";
    QApplication::setStyle(QStringLiteral("Fusion"));
    QWidget window;
    window.resize(800, 600);
    window.show();
    QCoreApplication::processEvents();
    window.repaint();
    if (trace) err << "  painted: " << QString::number(timer.nsecsElapsed() / 1e6, 'f', 1) << " ms\n";
    QTextStream(stdout) << "shown\n";
    return 0;
}
