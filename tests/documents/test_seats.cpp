// Several seats on one server database at once: each seat is a thread with a
// connection of its own (the server cannot tell them from computers), saving
// at the same moment. Transactions that meet run again, document numbers are
// never given twice or skipped, the ledger keeps one row per month with the
// sums of the stored documents, a save over another seat's change is refused,
// and a server stopped in the middle of a save leaves nothing half-written.
#include "common/TestDatabase.h"
#include "common/TestServer.h"
#include "common/TestSupport.h"
#include "common/TrialSupport.h"

#include "db/DbConnection.h"
#include "db/unitServerEngine.h"
#include "db/unitServerSchema.h"
#include "documents/unitDocumentLedgerRules.h"
#include "documents/unitDocumentStore.h"

#include <QThread>
#include <atomic>
#include <barrier>
#include <thread>

namespace {

DbConnection seat() { return DbConnection::ToServer(TestProgramConnection()); }

// Runs work(seatIndex) on that many threads at once; the errors they met.
QStringList onSeats(int seats, const std::function<void(int)>& work)
{
    QStringList errors;
    std::mutex errorsMutex;
    std::vector<std::thread> threads;
    for (int i = 0; i < seats; ++i) {
        threads.emplace_back([&, i] {
            const QString error = ErrorMessageOf([&] { work(i); });
            if (error.isEmpty()) return;
            std::lock_guard<std::mutex> lock(errorsMutex);
            errors << error;
        });
    }
    for (std::thread& thread : threads) thread.join();
    return errors;
}

QList<int> storedNumbers(DbConnection& db)
{
    QList<int> numbers;
    DbStatement read = db.prepare(QStringLiteral("SELECT intInvNumber FROM tblInvDataHeader ORDER BY intInvNumber;"));
    while (read.step()) numbers << read.columnInt(0);
    return numbers;
}

void clearDocuments()
{
    DbConnection db = seat();
    db.execute(QStringLiteral("DELETE FROM tblInvDataHeader;"));
    db.execute(QStringLiteral("DELETE FROM tblInvData;"));
    db.execute(QStringLiteral("DELETE FROM tblReport;"));
}

} // namespace

class TestSeats : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        CreateTestDatabase();
        clearDocuments();
    }

    void transactionsAreReadCommitted()
    {
        DbConnection db = seat();
        DbTransaction transaction(db);
        DbStatement read = db.prepare(QStringLiteral("SHOW transaction_isolation;"));
        QVERIFY(read.step());
        QCOMPARE(read.columnText(0), QStringLiteral("read committed"));
    }

    // Two seats locking two rows in opposite orders meet in a deadlock; the
    // server ends one transaction, which runs again and then succeeds.
    void aDeadlockedTransactionRunsAgain()
    {
        {
            DbConnection db = seat();
            db.execute(QStringLiteral("CREATE TABLE seat_rows(id integer PRIMARY KEY, n integer);"));
            db.execute(QStringLiteral("INSERT INTO seat_rows VALUES (1, 0), (2, 0);"));
        }
        const int retriesBefore = DbTransaction::RetriesSoFar();
        std::barrier bothHoldOne(2);
        std::atomic<int> firstAttempts{0};
        const QStringList errors = onSeats(2, [&](int i) {
            DbConnection db = seat();
            bool first = true;
            DbTransaction::Run(db, [&] {
                const int mine = i + 1, theirs = 2 - i;
                db.execute(QStringLiteral("UPDATE seat_rows SET n = n + 1 WHERE id = ?;"), {mine});
                if (first) {
                    first = false;
                    ++firstAttempts;
                    bothHoldOne.arrive_and_wait();
                }
                db.execute(QStringLiteral("UPDATE seat_rows SET n = n + 1 WHERE id = ?;"), {theirs});
            });
        });
        QCOMPARE(errors, QStringList());
        QCOMPARE(firstAttempts.load(), 2);
        QVERIFY(DbTransaction::RetriesSoFar() > retriesBefore);
        DbConnection db = seat();
        // Each transaction counted on both rows exactly once.
        QCOMPARE(db.countRows(QStringLiteral("SELECT 1 FROM seat_rows WHERE n = 2;")), 2);
    }

    // Four seats save new invoices at once, all starting from the number shown
    // at the same moment, and mark and convert them meanwhile: every number
    // once, none skipped, one ledger row per month equal to the documents'
    // sums, and no two saves ever deadlocked (the rows are locked in one order).
    void seatsSavingAtOnceKeepNumbersAndLedgerRight()
    {
        DbConnection db = seat();
        const int first = GetNextInvNumber(db);
        const int retriesBefore = DbTransaction::RetriesSoFar();
        constexpr int kSeats = 4, kSaves = 12;
        const QStringList dates{QStringLiteral("1/10/2026"), QStringLiteral("2/20/2026")};
        const QStringList errors = onSeats(kSeats, [&](int i) {
            DbConnection mine = seat();
            for (int k = 0; k < kSaves; ++k) {
                const bool paid = k % 3 != 0;
                const TInvDocument document =
                    MakeTrialDocument(first, QStringLiteral("Invoice"), 5, i * 100 + k, dates.at(k % 2), paid);
                const TSaveOutcome saved = SaveDocumentWithLedger(mine, document, NewSavedData(), false);
                if (k % 3 == 0) MarkPaidInFull(saved.intInvNumber);
                if (k % 4 == 1)
                    ConvertDocument(saved.intInvNumber, QStringLiteral("Credit"),
                                    InvSourceReference(QStringLiteral("Invoice"), saved.intInvNumber));
            }
        });
        QCOMPARE(errors, QStringList());
        QList<int> expected;
        for (int n = first; n < first + kSeats * kSaves; ++n) expected << n;
        QCOMPARE(storedNumbers(db), expected);
        QCOMPARE(GetNextInvNumber(db), first + kSeats * kSaves);
        int checked = 0;
        QCOMPARE(CheckStoredDocuments(db, checked), QStringList());
        QCOMPARE(db.countRows(QStringLiteral("SELECT 1 FROM tblReport;")), 2);
        QCOMPARE(DbTransaction::RetriesSoFar(), retriesBefore);
    }

    // Two seats show the same number; the second to save takes the next free
    // one, and a save that fails takes none.
    void aTakenNumberMovesToTheNextFreeOneAndAFailedSaveSkipsNone()
    {
        DbConnection one = seat();
        DbConnection two = seat();
        const int shown = GetNextInvNumber(one);
        QCOMPARE(GetNextInvNumber(two), shown);
        const TInvDocument fromOne = MakeTrialDocument(shown, QStringLiteral("Estimate"), 2, 1, QStringLiteral("3/1/2026"), false);
        const TInvDocument fromTwo = MakeTrialDocument(shown, QStringLiteral("Estimate"), 3, 2, QStringLiteral("3/1/2026"), false);
        QCOMPARE(SaveDocumentWithLedger(one, fromOne, NewSavedData(), false).intInvNumber, shown);
        QCOMPARE(SaveDocumentWithLedger(two, fromTwo, NewSavedData(), false).intInvNumber, shown + 1);
        QCOMPARE(LoadDocument(two, shown + 1).document.lines.size(), 3);

        // Another seat holds the counter while this one saves: the save gives
        // up after the lock limit, and the number stays free.
        TServerTimeLimits limits;
        limits.lockMs = 300;
        SetServerTimeLimits(limits);
        DbConnection holder = seat();
        DbTransaction holding(holder);
        holder.countRows(holder.lockingRows(
            QStringLiteral("SELECT intInvNumber FROM tblCompanyInvData WHERE intCompInvDataID = 1")));
        DbConnection three = seat();
        const TInvDocument fromThree =
            MakeTrialDocument(shown + 2, QStringLiteral("Estimate"), 2, 3, QStringLiteral("3/1/2026"), false);
        QVERIFY(ErrorMessageOf([&] { SaveDocumentWithLedger(three, fromThree, NewSavedData(), false); })
                    .contains(QStringLiteral("55P03")));
        holding.commit();
        QCOMPARE(GetNextInvNumber(three), shown + 2);
        QCOMPARE(SaveDocumentWithLedger(three, fromThree, NewSavedData(), false).intInvNumber, shown + 2);
        QCOMPARE(GetNextInvNumber(three), shown + 3);
        SetServerTimeLimits(TServerTimeLimits());
    }

    // A document opened on two seats: the second save over the first one's
    // change (or deletion) is refused, and nothing of it is written.
    void aSaveOverAnotherSeatsChangeIsRefused_data()
    {
        QTest::addColumn<bool>("deleted");
        QTest::newRow("changed") << false;
        QTest::newRow("deleted") << true;
    }
    void aSaveOverAnotherSeatsChangeIsRefused()
    {
        QFETCH(bool, deleted);
        DbConnection db = seat();
        const int number = GetNextInvNumber(db);
        const TInvDocument original =
            MakeTrialDocument(number, QStringLiteral("Invoice"), 4, 7, QStringLiteral("4/2/2026"), true);
        SaveDocumentWithLedger(db, original, NewSavedData(), false);

        const TLoadedDocument onOne = LoadDocument(db, number);
        const TLoadedDocument onTwo = LoadDocument(db, number);
        if (deleted) {
            DeleteDocument(number);
        } else {
            const TInvDocument changed =
                MakeTrialDocument(number, QStringLiteral("Invoice"), 6, 8, QStringLiteral("4/2/2026"), true);
            SaveDocumentWithLedger(db, changed, onOne.savedData, true);
        }
        const QString ledgerBefore = [&] {
            DbStatement read = db.prepare(QStringLiteral("SELECT dbLbrTotal FROM tblReport;"));
            return read.step() ? read.columnText(0) : QString();
        }();

        const TInvDocument typedOnTwo =
            MakeTrialDocument(number, QStringLiteral("Invoice"), 2, 9, QStringLiteral("4/2/2026"), true);
        const QString refusal = ErrorMessageOf([&] { SaveDocumentWithLedger(db, typedOnTwo, onTwo.savedData, true); });
        QCOMPARE(refusal, deleted ? StoredDocumentDeletedMessage(QStringLiteral("Invoice %1").arg(number))
                                  : StoredDocumentChangedMessage(QStringLiteral("Invoice %1").arg(number)));
        DbStatement ledger = db.prepare(QStringLiteral("SELECT dbLbrTotal FROM tblReport;"));
        QCOMPARE(ledger.step() ? ledger.columnText(0) : QString(), ledgerBefore);
        ledger.finalize();
        if (deleted) {
            QCOMPARE(db.countRows(QStringLiteral("SELECT 1 FROM tblInvDataHeader WHERE intInvNumber = ?;"), {number}), 0);
        } else {
            QCOMPARE(LoadDocument(db, number).document.lines.size(), 6);
            // Opened again, the other change is there and can be saved over.
            const TLoadedDocument reopened = LoadDocument(db, number);
            SaveDocumentWithLedger(db, typedOnTwo, reopened.savedData, true);
            QCOMPARE(LoadDocument(db, number).document.lines.size(), 2);
            int checked = 0;
            QCOMPARE(CheckStoredDocuments(db, checked), QStringList());
        }
    }

    // The server stops (as in a power cut) while a save's transaction is open:
    // after it starts again nothing of the save is there, the counter and the
    // ledger are as before, and the next save takes the same number.
    void aServerStoppedInTheMiddleOfASaveLeavesNoHalfDocument()
    {
        OwnTestServer server;
        {
            DbConnection admin = DbConnection::ToServer(server.connection(QStringLiteral("postgres")));
            admin.execute(QStringLiteral("CREATE DATABASE fennick ENCODING 'UTF8' TEMPLATE template0;"));
        }
        const QString connection = server.connection(QStringLiteral("fennick"));
        DbConnection db = DbConnection::ToServer(connection);
        PrepareServerDatabase(db, QDate(2026, 5, 1));
        const int shown = GetNextInvNumber(db);
        const TInvDocument document =
            MakeTrialDocument(shown, QStringLiteral("Invoice"), 40, 3, QStringLiteral("5/1/2026"), true);
        // The test servers commit without waiting for the disk: the schema is
        // put on disk here, so that the halt below cuts only the save.
        db.execute(QStringLiteral("CHECKPOINT;"));
        db.close();

        DbConnection saving = DbConnection::ToServer(connection);
        const QString failure = ErrorMessageOf([&] {
            DbTransaction transaction(saving);
            PostToMonthlyLedger(saving, LedgerAmountsOf(document.header), QDate(2026, 5, 1));
            InsertNewDocument(saving, document, false);
            server.halt();
            transaction.commit();
        });
        QVERIFY2(failure.contains(QStringLiteral("connection")), qPrintable(failure));
        saving.close();
        server.resume();
        CloseIdleServerSessions();

        DbConnection after = DbConnection::ToServer(connection);
        QCOMPARE(after.countRows(QStringLiteral("SELECT 1 FROM tblInvDataHeader;")), 0);
        QCOMPARE(after.countRows(QStringLiteral("SELECT 1 FROM tblInvData;")), 0);
        QCOMPARE(after.countRows(QStringLiteral("SELECT 1 FROM tblReport;")), 0);
        QCOMPARE(GetNextInvNumber(after), shown);
        QCOMPARE(SaveDocumentWithLedger(after, document, NewSavedData(), false).intInvNumber, shown);
        int checked = 0;
        QCOMPARE(CheckStoredDocuments(after, checked), QStringList());
        QCOMPARE(checked, 1);
        after.close();
        CloseIdleServerSessions();
    }
};

FENNICK_TEST_MAIN(TestSeats)
#include "test_seats.moc"
