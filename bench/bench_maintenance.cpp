// How long invoice maintenance takes to fill its list in mode 0 with 100,000
// stored documents, next to the bare SELECT of the same rows through the
// SQLite C API. Runs in a throw-away data folder.
#include "app/unitAppInfo.h"
#include "company/unitCompanyData.h"
#include "db/DbConnection.h"
#include "db/unitCreateDatabase.h"
#include "maintenance/unitInvMaintenanceListModel.h"
#include "maintenance/unitInvoiceMaintenanceRules.h"
#include "maintenance/unitfrmInvoiceMaintenance.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeView>
#include <sqlite3.h>

#include <cstdio>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int kDocuments = 100000;
constexpr int kRuns = 5;

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

// A query stepped through the SQLite C API alone, every column read as the
// screen reads it (texts as UTF-16, the total as a number); returns the rows.
int rawQuery(const TListQuery& query)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(GetDatabasePath().toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    // The program's search condition is one of its SQL functions: the same query needs it.
    RegisterTextFunctions(db);
    sqlite3_stmt* stmt = nullptr;
    const QByteArray sql = query.sql().toUtf8();
    sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr);
    for (int i = 0; i < query.values.size(); ++i) {
        const QByteArray value = query.values.at(i).toString().toUtf8();
        sqlite3_bind_text(stmt, i + 1, value.constData(), int(value.size()), SQLITE_TRANSIENT);
    }
    if (!stmt) std::fprintf(stderr, "raw query not prepared: %s\n", sqlite3_errmsg(db));
    int rows = 0;
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
    return rows;
}

double timeMs(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QString ratioText(double ms, double rawMs)
{
    const double ratio = rawMs > 0 ? ms / rawMs : 0;
    return QString::number(ratio, 'f', 2) + QStringLiteral(", target <= 1.3") +
           (ratio <= 1.3 ? QString() : QStringLiteral(", MISSED"));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QTextStream out(stdout);

    QDir().mkpath(GetTempFolder());
    CreateDatabase();
    LoadCompanyData();
    fillDocuments();

    // The screen is opened from a running program whose main window is already
    // shown: one window shown and painted first, so that fonts and style are
    // loaded before the timing as they are there.
    {
        QTreeView warmUp;
        warmUp.show();
        warmUp.repaint();
        QCoreApplication::processEvents();
    }

    const TListQuery allQuery = BuildInvMaintenanceQuery(TInvMaintenanceMode::ViewAll, QString(), QString());
    const QString typed = QStringLiteral("lastname123");
    const TListQuery searchQuery =
        BuildInvMaintenanceQuery(TInvMaintenanceMode::ViewAll, QStringLiteral("Customer Last Name"), typed);
    int rawRows = rawQuery(allQuery); // warms the file cache for both

    // Runs take turns (screen, raw, screen, raw ...) so that load on the
    // machine falls on both alike; medians of kRuns.
    std::vector<double> fill, refill, raw, perKey, rawPerKey;
    int listed = 0;
    int found = 0;
    for (int run = 0; run < kRuns; ++run) {
        // Showing the screen runs the mode 0 query and fills the list; the
        // window is then painted once, as a person would first see it.
        auto screen = std::make_unique<TfrmInvoiceMaintenance>();
        fill.push_back(timeMs([&] {
            screen->show();
            screen->repaint();
            QCoreApplication::processEvents();
        }));
        listed = screen->listModel().rowCount();
        raw.push_back(timeMs([&] { rawRows = rawQuery(allQuery); }));
        refill.push_back(timeMs([&] {
            screen->pQuerySavedInvoices();
            screen->repaint();
        }));

        // Search as you type: every key runs the query again.
        auto* search = screen->findChild<QComboBox*>(QStringLiteral("cmboInvSearch"));
        auto* text = screen->findChild<QLineEdit*>(QStringLiteral("txtInvSearch"));
        search->setCurrentIndex(search->findText(QStringLiteral("Customer Last Name")));
        perKey.push_back(timeMs([&] {
                             for (QChar c : typed) {
                                 text->setText(text->text() + c);
                                 screen->repaint();
                             }
                         }) /
                         typed.size());
        found = screen->listModel().rowCount();
        // The raw side: the same query per key, the first keys matching most rows.
        rawPerKey.push_back(timeMs([&] {
                                for (int length = 1; length <= typed.size(); ++length)
                                    rawQuery(BuildInvMaintenanceQuery(TInvMaintenanceMode::ViewAll,
                                                                      QStringLiteral("Customer Last Name"),
                                                                      typed.left(length)));
                            }) /
                            typed.size());
        screen.reset();
        QCoreApplication::processEvents();
    }
    const double fillMs = median(fill), refillMs = median(refill), rawMs = median(raw);
    const double perKeyMs = median(perKey), rawPerKeyMs = median(rawPerKey);

    out << "invoice maintenance, mode 0, " << kDocuments << " stored documents (medians of " << kRuns << ")\n";
    out << "rows listed: " << listed << " (raw SELECT rows: " << rawRows << ")\n";
    out << "open and fill the list: " << QString::number(fillMs, 'f', 1) << " ms (raw SELECT "
        << QString::number(rawMs, 'f', 1) << " ms, ratio " << ratioText(fillMs, rawMs) << ")\n";
    out << "refill the list: " << QString::number(refillMs, 'f', 1) << " ms (raw SELECT "
        << QString::number(rawMs, 'f', 1) << " ms, ratio " << ratioText(refillMs, rawMs) << ")\n";
    out << "search as you type, Customer Last Name \"" << typed << "\": " << QString::number(perKeyMs, 'f', 1)
        << " ms per key (raw " << QString::number(rawPerKeyMs, 'f', 1) << " ms per key, ratio "
        << ratioText(perKeyMs, rawPerKeyMs) << "; " << found << " rows at the end)\n";
    return listed == kDocuments ? 0 : 1;
}
