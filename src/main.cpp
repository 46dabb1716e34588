// Program entry: the command line, the start-up sequence, then the main window
// and the event loop.
#include "app/unitAppInfo.h"
#include "app/unitErrorHandler.h"
#include "shell/unitAppStyle.h"
#include "shell/unitStartUp.h"
#include "shell/unitfrmMain.h"
#include "printing/unitCopyPrinting.h"
#include "db/unitDatabaseTarget.h"
#include "server/unitCopyToServer.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <optional>

namespace {

const QString kDatabaseOption = QStringLiteral("database");
const QString kCopyDataToOption = QStringLiteral("copy-data-to");

// The program's options: --help, --version, and the two for a shared database.
// The help text names the help page the program opens, or says it is missing.
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
    parser.addOption(QCommandLineOption(
        kDatabaseOption,
        QStringLiteral("Work on the PostgreSQL database of the libpq connection string for this run\n"
                       "(\"host=office-server dbname=fennick user=anna\"), whatever the settings file says."),
        QStringLiteral("connection")));
    parser.addOption(QCommandLineOption(
        kCopyDataToOption,
        QStringLiteral("Copy this computer's data (every table, the counter and the logo) into the empty\n"
                       "PostgreSQL database of the connection string, check it, print a summary and exit."),
        QStringLiteral("connection")));
}

// --copy-data-to: no window, an answer on the terminal, 0 when the copy is done.
int copyDataTo(const QString& connectionString)
{
    try {
        const TCopySummary summary = CopyDataToServer(GetDatabasePath(), GetLogoPath(), connectionString);
        std::fprintf(stdout, "%s\n", qPrintable(summary.text()));
        return 0;
    } catch (const AppError& error) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(GetProductName()), qPrintable(ApplyFullStopRule(error.message())));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(GetProductName()), error.what());
    }
    return 1;
}

// --help and --version answer on the terminal before anything else starts, so
// they work without a display and never touch the data folder; --copy-data-to
// runs without a display too. Options of Qt's own (-platform, -style, ...) are
// left for QApplication.
// Answers the exit code when the program's work ends there.
std::optional<int> answerTerminalOptions(int argc, char** argv)
{
    if (argc <= 1) return std::nullopt;
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
    if (parser.isSet(kCopyDataToOption)) return copyDataTo(parser.value(kCopyDataToOption));
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    if (const std::optional<int> done = answerTerminalOptions(argc, argv)) return *done;

    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(FENNICK_VERSION));
    {
        // What is left once Qt took its own options: an unknown option ends
        // the program with the parser's message.
        QCommandLineParser parser;
        setUpParser(parser);
        parser.process(app);
        // The database of this run: --database, else the seat's settings file
        // (nothing there: this computer's file).
        SetServerConnectionString(parser.isSet(kDatabaseOption) ? parser.value(kDatabaseOption)
                                                                 : ReadSeatConnectionString());
    }

    // A start-up error is shown in the error box and the program ends without
    // its main window (a seat whose server cannot be reached may go on with
    // this computer's file).
    if (!RunStartUp()) return 1;

    QApplication::setApplicationName(GetProductName());
    InstallAppStyle();

    // The recurring run prints each copy through the print module.
    InstallCopyPrinter();

    TfrmMain frmMain;
    frmMain.show();
    return QApplication::exec();
}
