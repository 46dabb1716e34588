// Program entry: the start-up sequence, then the main window and the event loop.
#include "app/unitAppInfo.h"
#include "app/unitErrorHandler.h"
#include "shell/unitStartUp.h"
#include "shell/unitfrmMain.h"
#include "printing/unitCopyPrinting.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);

    // A start-up error is shown in the error box and the program ends without
    // its main window.
    if (!RunGuarded([] { StartUp(); })) return 1;

    QApplication::setApplicationName(GetProductName());
    QApplication::setStyle(QStringLiteral("Fusion"));

    // The recurring run prints each copy through the print module.
    InstallCopyPrinter();

    TfrmMain frmMain;
    frmMain.show();
    return QApplication::exec();
}
