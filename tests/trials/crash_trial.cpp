// The crash trial: a child process saves documents in a loop (new 100-line
// documents, paid invoices that post to the monthly ledger, invoices marked
// paid, conversions, paid invoices edited again) and is killed with SIGKILL at
// a random moment. After every kill the parent checks that the file passes the
// engine's integrity check, that every document is whole (its header with all
// its lines and totals that match them, or nothing), that the ledger equals the
// sums recomputed from the stored documents by the store's posting rules, and
// that the number counter is above every stored number.
//
//   crash_trial [--kills N] [--seed S]      the trial (200 kills by default)
//   crash_trial --child S                   the saving child (runs until killed)
#include "common/TestDatabase.h"
#include "common/TestSupport.h"
#include "common/TrialSupport.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "app/unitfrmSaving.h"
#include "db/DbConnection.h"
#include "documents/unitDocumentLedgerRules.h"
#include "documents/unitDocumentStore.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QThread>
#include <array>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <random>

namespace {

const QStringList kDates = {QStringLiteral("1/10/2026"), QStringLiteral("2/20/2026"), QStringLiteral("3/5/2026")};
constexpr int kLines = 100;

int PickNumber(const QString& sql)
{
    DbConnection db;
    DbStatement read = db.prepare(sql);
    return read.step() ? read.columnInt(0) : 0;
}

void SaveNew(const QString& type, bool paid, int variant, const QString& date)
{
    const TInvDocument document = MakeTrialDocument(GetNextInvNumber(), type, kLines, variant, date, paid);
    SaveDocumentWithLedger(document, NewSavedData(), false);
}

// The child: one store operation after another until it is killed; each
// finished operation is reported on its own line.
int RunChild(unsigned seed)
{
    SetSavingNoticeTickMs(600000);
    std::mt19937 random(seed);
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;) {
        const int variant = int(random() % 1000);
        const QString date = kDates.at(int(random() % kDates.size()));
        switch (random() % 6) {
        case 0: SaveNew(QStringLiteral("Invoice"), false, variant, date); break;
        case 1: SaveNew(QStringLiteral("Invoice"), true, variant, date); break;
        case 2: {
            const int number = PickNumber(QStringLiteral("SELECT intInvNumber FROM tblInvDataHeader WHERE "
                                                         "strInvName = 'Invoice' AND strPaidInFull = '0' "
                                                         "ORDER BY random() LIMIT 1;"));
            if (number) MarkPaidInFull(number);
            break;
        }
        case 3: {
            const int number = PickNumber(QStringLiteral("SELECT intInvNumber FROM tblInvDataHeader WHERE "
                                                         "strInvName = 'Invoice' ORDER BY random() LIMIT 1;"));
            if (number) ConvertDocument(number, QStringLiteral("Credit"), InvSourceReference(QStringLiteral("Invoice"), number));
            break;
        }
        case 4: {
            const int number = GetNextInvNumber();
            SaveNew(QStringLiteral("Estimate"), false, variant, date);
            RunOutSavingNotice();
            ConvertDocument(number, QStringLiteral("Work Order"), QString());
            break;
        }
        default: {
            const int number = PickNumber(QStringLiteral("SELECT intInvNumber FROM tblInvDataHeader WHERE "
                                                         "strInvName = 'Invoice' AND strPaidInFull = '-1' "
                                                         "ORDER BY random() LIMIT 1;"));
            if (!number) break;
            const TLoadedDocument loaded = LoadDocument(number);
            const TInvDocument changed = MakeTrialDocument(number, QStringLiteral("Invoice"), kLines, variant, date, true);
            SaveDocumentWithLedger(changed, loaded.savedData, true);
        }
        }
        RunOutSavingNotice();
        std::printf("op\n");
        std::fflush(stdout);
    }
}

// Everything the parent checks after a kill; returns the faults found.
QStringList CheckDatabase(int& documentsChecked)
{
    const QString integrity = IntegrityCheck();
    if (integrity != QStringLiteral("ok")) return {QStringLiteral("integrity: ") + integrity};
    DbConnection db;
    return CheckStoredDocuments(db, documentsChecked);
}

void ClearDocuments()
{
    DbConnection db;
    DbTransaction transaction(db);
    db.execute(QStringLiteral("DELETE FROM tblInvDataHeader;"));
    db.execute(QStringLiteral("DELETE FROM tblInvData;"));
    db.execute(QStringLiteral("DELETE FROM tblReport;"));
    transaction.commit();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() == 3 && args.at(1) == QStringLiteral("--child")) {
        try {
            return RunChild(args.at(2).toUInt());
        } catch (const AppError& error) {
            std::fprintf(stderr, "child stopped: %s\n", qPrintable(error.message()));
            return 2;
        }
    }

    int kills = 200;
    unsigned seed = unsigned(QDateTime::currentMSecsSinceEpoch() % 1000000);
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args.at(i) == QStringLiteral("--kills")) kills = args.at(i + 1).toInt();
        else if (args.at(i) == QStringLiteral("--seed")) seed = args.at(i + 1).toUInt();
    }

    TestDataFolder data;
    CreateTestDatabase();
    ClearDocuments();
    std::mt19937 random(seed);
    QStringList faults;
    int operations = 0;
    int documentsChecked = 0;
    int killsMidWrite = 0;
    QElapsedTimer clock;
    clock.start();

    for (int kill = 1; kill <= kills; ++kill) {
        QProcess child;
        child.setProcessChannelMode(QProcess::SeparateChannels);
        child.start(QApplication::applicationFilePath(),
                    {QStringLiteral("--child"), QString::number(seed * 1000u + unsigned(kill))});
        if (!child.waitForStarted(10000)) {
            faults << QStringLiteral("kill %1: the child did not start").arg(kill);
            break;
        }
        QByteArray output;
        while (!output.contains("ready\n") && child.waitForReadyRead(10000)) output += child.readAllStandardOutput();
        QThread::msleep(random() % 600);
        if (child.state() != QProcess::Running) {
            faults << QStringLiteral("kill %1: the child stopped by itself: %2")
                          .arg(kill).arg(QString::fromLocal8Bit(child.readAllStandardError()).trimmed());
        } else {
            ::kill(pid_t(child.processId()), SIGKILL);
        }
        child.waitForFinished(10000);
        output += child.readAllStandardOutput();
        operations += int(output.count("op\n"));
        // A journal left behind means the kill came in the middle of a write.
        const QFileInfo journal(GetDatabasePath() + QStringLiteral("-journal"));
        if (journal.exists() && journal.size() > 0) ++killsMidWrite;

        for (const QString& fault : CheckDatabase(documentsChecked))
            faults << QStringLiteral("kill %1: %2").arg(kill).arg(fault);
        if (faults.size() > 20) break;
        // Keep the file small enough that a check stays quick.
        if (kill % 10 == 0) ClearDocuments();
    }

    for (const QString& fault : std::as_const(faults)) std::printf("FAULT %s\n", qPrintable(fault));
    std::printf("crash trial: %d kills (seed %u), %d of them in the middle of a write, %d store operations "
                "finished before the kills, %d documents checked, faults found: %d (%.1f s)\n",
                kills, seed, killsMidWrite, operations, documentsChecked, int(faults.size()),
                clock.elapsed() / 1000.0);
    return faults.isEmpty() ? 0 : 1;
}
