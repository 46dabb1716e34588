// An empty Qt Widgets window, started as the program is started: the base line
// of the start-up benchmark. Writes one line once the window is shown and painted.
#include <QApplication>
#include <QTextStream>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QWidget window;
    window.resize(800, 600);
    window.show();
    QCoreApplication::processEvents();
    window.repaint();
    QTextStream(stdout) << "shown\n";
    return 0;
}
