// The seat trial: several seat processes save documents at the same time on
// one server database (new invoices, paid or not, credits and estimates, each
// shown under the number the counter gave when it was made, so seats often
// race for one number), and one seat at a time is killed with SIGKILL at a
// random moment and started again for the rest of its saves. Afterwards the
// parent checks: every document whole, numbers unique and without gaps, one
// ledger row per month equal to the sums the stored documents give, no lock
// or open transaction left by a killed seat, and that a save over another
// seat's change is refused.
//
//   seat_trial [--seats N] [--saves N] [--kills N] [--seed S]
//   seat_trial --seat CONNECTION SEED SAVES      one seat (prints "saved" per save)
//
// The server: the tests' shared one when FENNICK_TEST_SERVER_STATE names it,
// otherwise a private one started for the trial.
#include "common/TestServer.h"
#include "common/TestSupport.h"
#include "common/TrialSupport.h"

#include "app/AppError.h"
#include "db/DbConnection.h"
#include "db/unitServerEngine.h"
#include "db/unitServerSchema.h"
#include "documents/unitDocumentLedgerRules.h"
#include "documents/unitDocumentStore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>
#include <random>

namespace {

const QStringList kDates = {QStringLiteral("1/10/2026"), QStringLiteral("1/25/2026"), QStringLiteral("2/20/2026"),
                            QStringLiteral("3/5/2026")};

int RunSeat(const QString& connectionString, unsigned seed, int saves)
{
    std::mt19937 random(seed);
    DbConnection db = DbConnection::ToServer(connectionString);
    for (int k = 0; k < saves; ++k) {
        const int variant = int(random() % 1000);
        const QString date = kDates.at(int(random() % kDates.size()));
        const int lines = 1 + int(random() % 30);
        QString type = QStringLiteral("Invoice");
        bool paid = random() % 2;
        switch (random() % 5) {
        case 0: type = QStringLiteral("Credit"); paid = false; break;
        case 1: type = QStringLiteral("Estimate"); paid = false; break;
        default: break;
        }
        const TInvDocument document = MakeTrialDocument(GetNextInvNumber(db), type, lines, variant, date, paid);
        const TSaveOutcome saved = SaveDocumentWithLedger(db, document, NewSavedData(), false);
        // Now and then the seat opens what it saved and saves it again changed.
        if (random() % 4 == 0 && type == QStringLiteral("Invoice")) {
            const TLoadedDocument loaded = LoadDocument(db, saved.intInvNumber);
            const TInvDocument changed =
                MakeTrialDocument(saved.intInvNumber, type, lines + 1, variant + 1, date, true);
            SaveDocumentWithLedger(db, changed, loaded.savedData, true);
        }
        std::printf("saved %d\n", saved.intInvNumber);
        std::fflush(stdout);
    }
    return 0;
}

// A refused edit: two seats open one document, the first saves a change, the
// second's save must be refused and leave the first one's change stored.
QStringList CheckRefusedEdit(DbConnection& db)
{
    DbStatement pick = db.prepare(QStringLiteral("SELECT MAX(intInvNumber) FROM tblInvDataHeader WHERE strInvName = 'Estimate';"));
    const int number = pick.step() ? pick.columnInt(0) : 0;
    pick.finalize();
    if (number == 0) return {QStringLiteral("refused edit: no estimate to open")};
    const TLoadedDocument onOne = LoadDocument(db, number);
    const TLoadedDocument onTwo = LoadDocument(db, number);
    TInvDocument first = MakeTrialDocument(number, QStringLiteral("Estimate"), 3, 11, kDates.first(), false);
    TInvDocument second = MakeTrialDocument(number, QStringLiteral("Estimate"), 4, 12, kDates.first(), false);
    SaveDocumentWithLedger(db, first, onOne.savedData, true);
    try {
        SaveDocumentWithLedger(db, second, onTwo.savedData, true);
        return {QStringLiteral("refused edit: Estimate %1 was saved over another seat's change").arg(number)};
    } catch (const AppError& error) {
        if (error.message() != StoredDocumentChangedMessage(QStringLiteral("Estimate %1").arg(number)))
            return {QStringLiteral("refused edit: %1").arg(error.message())};
    }
    if (LoadDocument(db, number).document.lines.size() != 3)
        return {QStringLiteral("refused edit: the first seat's change is not what is stored")};
    return {};
}

// No seat's transaction is left open, and the counter can be locked at once.
QStringList CheckLocksReleased(DbConnection& db, const QString& database)
{
    QStringList faults;
    // The server notices a killed seat's closed connection at once; a moment
    // is allowed for its session to end.
    int open = 0;
    for (int wait = 0; wait < 50; ++wait) {
        open = db.countRows(QStringLiteral("SELECT 1 FROM pg_stat_activity WHERE datname = ? AND pid <> "
                                           "pg_backend_pid() AND state LIKE 'idle in transaction%';"),
                            {database});
        if (open == 0) break;
        QThread::msleep(100);
    }
    if (open) faults << QStringLiteral("%1 transactions left open").arg(open);
    try {
        DbTransaction transaction(db);
        db.countRows(QStringLiteral("SELECT intInvNumber FROM tblCompanyInvData WHERE intCompInvDataID = 1 "
                                    "FOR UPDATE NOWAIT;"));
        db.countRows(QStringLiteral("SELECT 1 FROM tblReport FOR UPDATE NOWAIT;"));
        transaction.commit();
    } catch (const AppError& error) {
        faults << QStringLiteral("rows still locked: %1").arg(error.message());
    }
    return faults;
}

QStringList CheckNumbers(DbConnection& db, int saves)
{
    QList<int> numbers;
    DbStatement read = db.prepare(QStringLiteral("SELECT intInvNumber FROM tblInvDataHeader ORDER BY intInvNumber;"));
    while (read.step()) numbers << read.columnInt(0);
    read.finalize();
    QStringList faults;
    if (numbers.size() < saves) faults << QStringLiteral("%1 documents stored for %2 saves").arg(numbers.size()).arg(saves);
    for (int i = 1; i < numbers.size(); ++i)
        if (numbers.at(i) != numbers.at(i - 1) + 1)
            faults << QStringLiteral("numbers %1 and %2 follow each other").arg(numbers.at(i - 1)).arg(numbers.at(i));
    return faults;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 5 && args.at(1) == QStringLiteral("--seat")) {
        try {
            return RunSeat(args.at(2), args.at(3).toUInt(), args.at(4).toInt());
        } catch (const AppError& error) {
            std::fprintf(stderr, "seat stopped: %s\n", qPrintable(error.message()));
            return 2;
        }
    }

    int seats = 4, savesPerSeat = 50, kills = 3;
    unsigned seed = unsigned(QDateTime::currentMSecsSinceEpoch() % 1000000);
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args.at(i) == QStringLiteral("--seats")) seats = args.at(i + 1).toInt();
        else if (args.at(i) == QStringLiteral("--saves")) savesPerSeat = args.at(i + 1).toInt();
        else if (args.at(i) == QStringLiteral("--kills")) kills = args.at(i + 1).toInt();
        else if (args.at(i) == QStringLiteral("--seed")) seed = args.at(i + 1).toUInt();
    }

    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<OwnTestServer> own;
    const QString database = QStringLiteral("seat_trial_%1").arg(QCoreApplication::applicationPid());
    QString admin;
    if (TestRunsOnServer()) {
        admin = TestServerConnection(QStringLiteral("postgres"));
    } else {
        own = std::make_unique<OwnTestServer>();
        admin = own->connection(QStringLiteral("postgres"));
    }
    const QString connection = QString(admin).replace(QStringLiteral("dbname=postgres"), QStringLiteral("dbname=") + database);
    QStringList faults;
    int saves = 0;
    int killed = 0;
    try {
        DbConnection::ToServer(admin).execute(
            QStringLiteral("CREATE DATABASE \"%1\" ENCODING 'UTF8' TEMPLATE template0;").arg(database));
        {
            DbConnection db = DbConnection::ToServer(connection);
            PrepareServerDatabase(db, QDate(2026, 1, 1));
        }

        std::mt19937 random(seed);
        struct Seat {
            std::unique_ptr<QProcess> process;
            int left = 0;
            QByteArray output;
            // Killed after its last save, before it ended: nothing left to run or count.
            bool finished = false;
        };
        std::vector<Seat> running(static_cast<std::size_t>(seats));
        auto start = [&](Seat& seat) {
            seat.process = std::make_unique<QProcess>();
            seat.process->start(QCoreApplication::applicationFilePath(),
                                {QStringLiteral("--seat"), connection, QString::number(random()), QString::number(seat.left)});
            seat.output.clear();
        };
        for (Seat& seat : running) {
            seat.left = savesPerSeat;
            start(seat);
        }
        auto collect = [&](Seat& seat) {
            seat.output += seat.process->readAllStandardOutput();
            const int done = int(seat.output.count("saved "));
            return done;
        };
        int killsLeft = kills;
        QElapsedTimer sinceKill;
        sinceKill.start();
        int nextKillMs = 100 + int(random() % 400);
        for (;;) {
            bool anyRunning = false;
            for (Seat& seat : running) {
                seat.process->waitForFinished(20);
                if (seat.process->state() != QProcess::NotRunning) anyRunning = true;
            }
            if (killsLeft > 0 && sinceKill.elapsed() >= nextKillMs) {
                Seat& victim = running[random() % running.size()];
                if (victim.process->state() == QProcess::Running) {
                    ::kill(pid_t(victim.process->processId()), SIGKILL);
                    victim.process->waitForFinished(10000);
                    const int done = collect(victim);
                    saves += done;
                    victim.left -= done;
                    ++killed;
                    --killsLeft;
                    // Its saves still to do are made by the seat started again.
                    if (victim.left > 0)
                        start(victim);
                    else
                        victim.finished = true;
                    anyRunning = true;
                }
                sinceKill.restart();
                nextKillMs = 100 + int(random() % 400);
            }
            if (!anyRunning) break;
        }
        for (Seat& seat : running) {
            if (seat.finished) continue;
            const int done = collect(seat);
            saves += done;
            if (seat.process->exitStatus() != QProcess::NormalExit || seat.process->exitCode() != 0)
                faults << QStringLiteral("a seat stopped: %1").arg(QString::fromLocal8Bit(seat.process->readAllStandardError()).trimmed());
            else if (done != seat.left)
                faults << QStringLiteral("a seat made %1 of its %2 saves").arg(done).arg(seat.left);
        }

        DbConnection db = DbConnection::ToServer(connection);
        faults << CheckLocksReleased(db, database);
        faults << CheckNumbers(db, saves);
        int checked = 0;
        faults << CheckStoredDocuments(db, checked);
        faults << CheckRefusedEdit(db);
        db.close();
    } catch (const AppError& error) {
        faults << error.message();
    }
    CloseIdleServerSessions();
    try {
        DbConnection::ToServer(admin).execute(QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE);").arg(database));
    } catch (const AppError&) {
    }
    CloseIdleServerSessions();

    for (const QString& fault : std::as_const(faults)) std::printf("FAULT %s\n", qPrintable(fault));
    std::printf("seats: %d saves, %d kills, faults found: %d (%d seats, seed %u, %.1f s)\n", saves, killed,
                int(faults.size()), seats, seed, clock.elapsed() / 1000.0);
    return faults.isEmpty() ? 0 : 1;
}
