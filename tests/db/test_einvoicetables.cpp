// The e-invoice tables: made when missing on an older file (at start and after
// a restore), in SQL that PostgreSQL takes as well, and never in place of the
// program's own thirteen tables.
#include "common/TestDatabase.h"
#include "common/TestSupport.h"

#include "app/unitAppInfo.h"
#include "app/unitModalRunner.h"
#include "backup/unitBackupRestoreData.h"
#include "backup/unitfrmBackupRestore.h"
#include "company/unitEInvoiceSettings.h"
#include "db/DbConnection.h"
#include "db/unitCreateDatabase.h"
#include "db/unitEInvoiceTables.h"
#include "shell/unitStartUp.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

QStringList Tables(const QString& path = QString())
{
    DbConnection db(path);
    DbStatement read = db.prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name;"));
    QStringList names;
    while (read.step()) names << read.columnText(0);
    return names;
}

const QStringList kEInvoiceTables{"tblCustEInvoice", "tblEInvoiceSettings", "tblInvEInvoice"};

bool HasEInvoiceTables(const QString& path = QString())
{
    const QStringList tables = Tables(path);
    for (const QString& table : kEInvoiceTables)
        if (!tables.contains(table)) return false;
    return true;
}

// A database as an older version left it: the thirteen tables only.
void MakeOlderDatabase()
{
    QDir().mkpath(GetDataFolder());
    QFile::remove(GetDatabasePath());
    CreateDatabase();
    RunOutSavingNotice();
}

} // namespace

class TestEInvoiceTables : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { RunOutSavingNotice(); }

    void madeWhenMissingAndKeptWhenThere()
    {
        MakeOlderDatabase();
        QVERIFY(!Tables().contains("tblEInvoiceSettings"));
        EnsureEInvoiceTables();
        QVERIFY(HasEInvoiceTables());
        {
            DbConnection db;
            db.execute(QStringLiteral("UPDATE tblEInvoiceSettings SET strEInvoice = ?, strSellerVatId = ?;"),
                       {QStringLiteral("-1"), QStringLiteral("DE123456789")});
            db.execute(QStringLiteral("INSERT INTO tblCustEInvoice(intCustomerID,strCustCountry) VALUES(?,?);"),
                       {1, QStringLiteral("FR")});
        }
        EnsureEInvoiceTables();   // a second start changes nothing
        LoadEInvoiceSettings();
        QVERIFY(recEInvoiceSettings.blEInvoice);
        QCOMPARE(recEInvoiceSettings.strSellerVatId, QStringLiteral("DE123456789"));
        DbConnection db;
        QCOMPARE(db.countRows(QStringLiteral("SELECT intEInvoiceSettingsID FROM tblEInvoiceSettings;")), 1);
        QCOMPARE(db.countRows(QStringLiteral("SELECT intCustomerID FROM tblCustEInvoice;")), 1);
    }

    // The same statements run on the shared PostgreSQL database.
    void statementsAreTheSubsetBothEnginesTake()
    {
        static const QRegularExpression column(QStringLiteral("[(,](\\w+) (\\w+( PRIMARY KEY)?)"));
        for (const QString& statement : EInvoiceTableStatements()) {
            QVERIFY2(statement.startsWith("CREATE TABLE IF NOT EXISTS tbl"), qPrintable(statement));
            for (const char* sqliteOnly : {"AUTOINCREMENT", "WITHOUT ROWID", "STRICT", "\"", "`", "["})
                QVERIFY2(!statement.contains(QLatin1String(sqliteOnly)), qPrintable(statement));
            int columns = 0;
            for (auto it = column.globalMatch(statement); it.hasNext(); ++columns) {
                const QString type = it.next().captured(2).section(' ', 0, 0);
                QVERIFY2(QStringList({"TEXT", "INTEGER", "REAL", "BLOB"}).contains(type), qPrintable(statement));
            }
            QVERIFY(columns >= 3);
        }
        for (const QString& described : DatabaseTableStatements())
            for (const QString& table : kEInvoiceTables) QVERIFY(!described.contains(table));
    }

    void startUpOnAnOlderFile()
    {
        MakeOlderDatabase();
        StartUp();
        ReleaseDataFolderLock();
        QVERIFY(HasEInvoiceTables());
        QVERIFY(!recEInvoiceSettings.blEInvoice);
    }

    void restoreOfAnOlderFile()
    {
        MakeOlderDatabase();
        QTemporaryDir folder;
        const QString older = BackupDatabaseTo(folder.path());
        EnsureEInvoiceTables();
        {
            DbConnection db;
            db.execute(QStringLiteral("UPDATE tblEInvoiceSettings SET strEInvoice = ?;"), {QStringLiteral("-1")});
        }
        LoadEInvoiceSettings();
        QVERIFY(recEInvoiceSettings.blEInvoice);

        ScriptedMessages messages;
        {
            ScopedModalRunner picker([&older](QDialog& dialog) {
                static_cast<QFileDialog&>(dialog).selectFile(older);
                return int(QDialog::Accepted);
            });
            QVERIFY(RestoreData());
        }
        QVERIFY2(HasEInvoiceTables(), qPrintable(Tables().join(',')));
        QVERIFY(!recEInvoiceSettings.blEInvoice);   // the restored file's settings: none yet
    }
};

FENNICK_TEST_MAIN(TestEInvoiceTables)
#include "test_einvoicetables.moc"
