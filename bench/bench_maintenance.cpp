// How long invoice maintenance takes to fill its list in mode 0 with 100,000
// stored documents, next to the bare SELECT of the same rows through the
// SQLite C API. Runs in a throw-away data folder.
#include "app/unitAppInfo.h"
#include "company/unitCompanyData.h"
#include "db/DbConnection.h"
#include "db/unitCreateDatabase.h"
#include "maintenance/unitInvMaintenanceListModel.h"
#include "maintenance/unitfrmInvoiceMaintenance.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <sqlite3.h>

namespace {

constexpr int kDocuments = 100000;

void fillDocuments()
{
    const QStringList types{"Estimate", "Work Order", "Change Order", "Invoice", "Credit", "Past Due"};
    DbConnection connection;
    DbTransaction transaction(connection);
    DbStatement insert = connection.prepare(QStringLiteral(
        "INSERT INTO tblInvDataHeader(intInvNumber,strCustCmpnyName,strCustFullName,strInvName,strPaidInFull,"
        "strRecurring,strSavedToReport,dbLbrTotal,dbMatTotal,dbInvTotal,strInvDate)"
        "VALUES(?,?,?,?,?,?,'0',?,?,?,'3/15/2024');"));
    for (int i = 0; i < kDocuments; ++i) {
        const double labour = 50 + (i % 997);
        insert.reset();
        insert.bindAll({1001 + i, QStringLiteral("Company %1 Services").arg(i % 5000),
                        QStringLiteral("Lastname%1, Firstname").arg(i % 20000), types[i % types.size()],
                        QString(i % 3 == 0 ? "-1" : "0"), QString(i % 17 == 0 ? "-1" : "0"), labour, 25.0,
                        labour * 1.05 + 25.0});
        insert.step();
    }
    insert.finalize();
    transaction.commit();
}

// The same SELECT the screen runs in mode 0, read column by column as the screen reads it.
double rawSelectMs(int& rows)
{
    QElapsedTimer timer;
    timer.start();
    sqlite3* db = nullptr;
    sqlite3_open_v2(GetDatabasePath().toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT intInvNumber,strCustCmpnyName,strCustFullName,strInvName,strPaidInFull,dbInvTotal,"
                       "strRecurring FROM tblInvDataHeader;",
                       -1, &stmt, nullptr);
    rows = 0;
    double checksum = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        checksum += sqlite3_column_int(stmt, 0);
        for (int column : {1, 2, 3, 4, 6}) sqlite3_column_text16(stmt, column);
        checksum += sqlite3_column_double(stmt, 5);
        ++rows;
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    static volatile double sink;
    sink = checksum; // keeps the reads from being optimised away
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    QApplication app(argc, argv);
    QTextStream out(stdout);

    QDir().mkpath(GetTempFolder());
    CreateDatabase();
    LoadCompanyData();
    fillDocuments();

    int rawRows = 0;
    rawSelectMs(rawRows); // warm the file cache for both measurements
    const double rawMs = rawSelectMs(rawRows);

    // Showing the screen runs the mode 0 query and fills the list; the window
    // is then painted once, as a person would first see it.
    QElapsedTimer timer;
    timer.start();
    TfrmInvoiceMaintenance screen;
    screen.show();
    screen.repaint();
    QCoreApplication::processEvents();
    const double fillMs = timer.nsecsElapsed() / 1e6;
    const int listed = screen.listModel().rowCount();

    timer.restart();
    screen.pQuerySavedInvoices();
    screen.repaint();
    const double refillMs = timer.nsecsElapsed() / 1e6;

    // Search as you type: every key runs the query again.
    auto* search = screen.findChild<QComboBox*>(QStringLiteral("cmboInvSearch"));
    auto* text = screen.findChild<QLineEdit*>(QStringLiteral("txtInvSearch"));
    search->setCurrentIndex(search->findText(QStringLiteral("Customer Last Name")));
    const QString typed = QStringLiteral("lastname123");
    timer.restart();
    for (QChar c : typed) {
        text->setText(text->text() + c);
        screen.repaint();
    }
    const double perKeyMs = timer.nsecsElapsed() / 1e6 / typed.size();
    const int found = screen.listModel().rowCount();

    out << "invoice maintenance, mode 0, " << kDocuments << " stored documents\n";
    out << "rows listed: " << listed << " (raw SELECT rows: " << rawRows << ")\n";
    out << "open and fill the list: " << QString::number(fillMs, 'f', 1) << " ms\n";
    out << "refill the list: " << QString::number(refillMs, 'f', 1) << " ms\n";
    out << "raw SELECT through the SQLite C API: " << QString::number(rawMs, 'f', 1) << " ms\n";
    out << "ratio open and fill / raw SELECT: " << QString::number(fillMs / rawMs, 'f', 2) << "\n";
    out << "ratio refill / raw SELECT: " << QString::number(refillMs / rawMs, 'f', 2) << "\n";
    out << "search as you type, Customer Last Name \"" << typed << "\": " << QString::number(perKeyMs, 'f', 1)
        << " ms per key (" << found << " rows at the end)\n";
    return listed == kDocuments ? 0 : 1;
}
