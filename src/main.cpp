// Program entry: the command line, the start-up sequence, then the main window
// and the event loop.
#include "app/unitAppInfo.h"
#include "app/unitErrorHandler.h"
#include "shell/unitStartUp.h"
#include "shell/unitfrmMain.h"
#include "printing/unitCopyPrinting.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

namespace {

// The program takes no arguments of its own beyond --help and --version. The
// help text names the help page the program opens, or says it is missing.
void setUpParser(QCommandLineParser& parser)
{
    const QString helpFile = GetHelpFilePath();
    parser.setApplicationDescription(
        QStringLiteral("Writes and keeps the customer paperwork of a small service business: estimates,\n"
                       "work orders, change orders, invoices, credits and past-due notices.\n\n")
        + (QFile::exists(helpFile) ? QStringLiteral("Help page: ") + helpFile
                                   : QStringLiteral("Help page not found beside the program or in ../share/fennick/.")));
    parser.addHelpOption();
    parser.addVersionOption();
}

// --help and --version answer on the terminal before anything else starts, so
// they work without a display and never touch the data folder. Options of Qt's
// own (-platform, -style, ...) are left for QApplication.
void answerInformationOptions(int argc, char** argv)
{
    if (argc <= 1) return;
    int count = argc;
    QCoreApplication core(count, argv);
    QCoreApplication::setApplicationName(QStringLiteral("fennick"));
    QCoreApplication::setApplicationVersion(QStringLiteral(FENNICK_VERSION));
    QCommandLineParser parser;
    setUpParser(parser);
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(QStringLiteral("version"))) parser.showVersion();
    if (parser.isSet(QStringLiteral("help"))) parser.showHelp(0);
    if (parser.isSet(QStringLiteral("help-all"))) parser.process(QCoreApplication::arguments());
}

} // namespace

int main(int argc, char** argv)
{
    answerInformationOptions(argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(FENNICK_VERSION));
    {
        // What is left once Qt took its own options: an unknown option ends
        // the program with the parser's message.
        QCommandLineParser parser;
        setUpParser(parser);
        parser.process(app);
    }

    // A start-up error is shown in the error box and the program ends without
    // its main window; so does a user's choice to end at a start-up question.
    bool started = false;
    if (!RunGuarded([&started] { started = StartUp(); }) || !started) return 1;

    QApplication::setApplicationName(GetProductName());
    QApplication::setStyle(QStringLiteral("Fusion"));

    // The recurring run prints each copy through the print module.
    InstallCopyPrinter();

    TfrmMain frmMain;
    frmMain.show();
    return QApplication::exec();
}
