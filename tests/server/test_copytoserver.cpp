// Moving a business to a server: this computer's file copied into an empty
// server database holds exactly the file's rows, the counter and the logo, and
// takes new documents; a database that is not empty is refused; a failure
// leaves nothing behind. Also through `fennick --copy-data-to`, which opens no
// window.
#include "common/TestServer.h"
#include "common/TestSupport.h"

#include "app/unitAppInfo.h"
#include "company/unitCompanyData.h"
#include "customers/unitCustomerStore.h"
#include "db/DbConnection.h"
#include "db/unitFeatureTables.h"
#include "db/unitCreateDatabase.h"
#include "db/unitDatabaseTarget.h"
#include "db/unitEInvoiceTables.h"
#include "db/unitServerEngine.h"
#include "db/unitServerSchema.h"
#include "documents/unitDocumentStore.h"
#include "documents/unitMonthlyLedger.h"
#include "server/unitCopyToServer.h"

#include <QDir>
#include <QImage>
#include <QProcess>

namespace {

// A file with rows of every kind: sample rows, a customer with awkward text,
// two documents with lines (one paid, so the ledger has a month), and a logo.
void makeFileWithData()
{
    SetServerConnectionString(QString());
    QDir().mkpath(GetDataFolder());
    QDir().mkpath(GetTempFolder());
    QFile::remove(GetDatabasePath());
    CreateDatabase(QDate(2024, 3, 15));
    LoadCompanyData();
    DbConnection file;
    CreateMissingFeatureTables(file);   // as every start makes them
    EnsureEInvoiceTables(file);
    file.execute(QStringLiteral("INSERT INTO tblCustomers(strCustFirstName,strCustLastName,strCustCompany,strCustNotes,"
                                "strCustTaxExmpt) VALUES(?,?,?,?,'0');"),
                 {QStringLiteral("Zoë"), QStringLiteral("O'Hara \"Jr\""), QStringLiteral("50% Off_Roofing"),
                  QStringLiteral("line one\r\nline two \\x41")});
    file.execute(QStringLiteral("DELETE FROM tblCustomers WHERE intCustomerID = 2;"));   // a gap in the ids
    for (int number : {500, 501}) {
        TInvDocument document;
        document.header.intInvNumber = number;
        document.header.strInvName = QStringLiteral("Invoice");
        document.header.strCustCmpnyName = QStringLiteral("Company %1").arg(number);
        document.header.strInvDate = QStringLiteral("3/15/2024");
        document.header.strPaidInFull = number == 501;
        document.header.dbLbrTotal = 100.1 + number;
        document.header.dbInvTotal = 0.1 + 0.2;
        document.strInvNotes = QStringLiteral("Notes with a \"quote\"\nand a second line");
        for (int line = 1; line <= 3; ++line) {
            TInvLine item;
            item.strPrcItemName = QStringLiteral("Line %1 of %2").arg(line).arg(number);
            item.strPrcItmQuantity = QString::number(line);
            item.strLabTax = QStringLiteral("-1");
            item.strMatTax = QStringLiteral("0");
            item.strLbrPrc = QStringLiteral("12.5");
            item.strMatPrc = QStringLiteral("0.75");
            document.lines << item;
        }
        SaveDocument(document, false, false);
    }
    PostToMonthlyLedger(file, {1, 2, 3, 4, 5, 6, 700.5, 800.25}, QDate(2024, 3, 15));
    // The tables of later features travel too: e-invoice data and the calendar id.
    file.execute(QStringLiteral("UPDATE tblEInvoiceSettings SET strEInvoice = '-1', strSellerVatId = 'DE123456789';"));
    file.execute(QStringLiteral("INSERT INTO tblCustEInvoice(intCustomerID,strCustCountry,strCustVatId) "
                                "VALUES(3,'FR','FR40303265045');"));
    file.execute(QStringLiteral("INSERT INTO tblInvEInvoice(intInvNumber,strBuyerCountry,strBuyerVatId) "
                                "VALUES(500,'FR','FR40303265045');"));
    file.execute(QStringLiteral("INSERT INTO tblCalendarExport(intCalendarExportID,strCalendarUID) VALUES(1,'cal-1');"));
    QImage logo(40, 20, QImage::Format_RGB32);
    logo.fill(Qt::darkBlue);
    QVERIFY(logo.save(GetLogoPath(), "JPG"));
}

QStringList rowsOf(DbConnection& db, const QString& sql)
{
    DbStatement read = db.prepare(sql);
    QStringList rows;
    while (read.step()) {
        QStringList row;
        for (int i = 0; i < read.columnCount(); ++i) row << read.columnText(i);
        rows << row.join(QLatin1Char('|'));
    }
    return rows;
}

QString programPath() { return QCoreApplication::applicationDirPath() + QStringLiteral("/../src/fennick"); }

} // namespace

class TestCopyToServer : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        EmptyTestProgramDatabase();
        makeFileWithData();
    }

    void theServerHoldsExactlyTheFilesRowsAndTakesNewDocuments()
    {
        const TCopySummary summary = CopyDataToServer(GetDatabasePath(), GetLogoPath(), TestProgramConnection());
        QCOMPARE(summary.tables.size(), 17);   // the thirteen and four of later features
        const QString text = summary.text();
        QVERIFY2(text.contains(QStringLiteral("tblCustomers")) && text.contains(QStringLiteral("3 rows")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Every table's rows were read back and match.")));
        QVERIFY(summary.logoBytes > 0);

        DbConnection file;
        DbConnection server = DbConnection::ToServer(TestProgramConnection());
        for (const QString& sql : {QStringLiteral("SELECT * FROM tblCustomers ORDER BY intCustomerID;"),
                                   QStringLiteral("SELECT * FROM tblInvDataHeader ORDER BY intInvDataHeaderID;"),
                                   QStringLiteral("SELECT * FROM tblInvData ORDER BY intInvDataID;"),
                                   QStringLiteral("SELECT * FROM tblReport;"),
                                   QStringLiteral("SELECT * FROM tblCompanyInvData;"),
                                   QStringLiteral("SELECT * FROM tblPlanner ORDER BY intActID;"),
                                   QStringLiteral("SELECT * FROM tblContractWarranty;"),
                                   QStringLiteral("SELECT * FROM tblEInvoiceSettings;"),
                                   QStringLiteral("SELECT * FROM tblCustEInvoice;"),
                                   QStringLiteral("SELECT * FROM tblInvEInvoice;"),
                                   QStringLiteral("SELECT * FROM tblCalendarExport;")})
            QCOMPARE(rowsOf(server, sql), rowsOf(file, sql));
        DbStatement logo = server.prepare(QStringLiteral("SELECT blobLogoJpeg FROM tblCompanyLogo;"));
        QVERIFY(logo.step());
        QFile logoFile(GetLogoPath());
        QVERIFY(logoFile.open(QIODevice::ReadOnly));
        QCOMPARE(logo.columnBlob(0), logoFile.readAll());
        logo.finalize();
        QCOMPARE(ServerSchemaVersion(server), kServerSchemaVersion);

        // The seat now works on the server: the counter goes on from the file's,
        // and new rows get ids past the copied ones.
        SetServerConnectionString(TestProgramConnection());
        QCOMPARE(GetNextInvNumber(), 502);
        TCustomer customer;
        customer.strCustFirstName = QStringLiteral("New");
        QCOMPARE(SaveCustomer(customer), qint64(5));
        const TLoadedDocument loaded = LoadDocument(500);
        QCOMPARE(loaded.document.lines.size(), 3);
        QCOMPARE(loaded.document.lines[2].strPrcItemName, QStringLiteral("Line 3 of 500"));
        QCOMPARE(loaded.document.strInvNotes, QStringLiteral("Notes with a \"quote\"\nand a second line"));
        SetServerConnectionString(QString());
    }

    void aDatabaseThatHoldsTheTablesIsRefusedAndLeftAsItIs()
    {
        CopyDataToServer(GetDatabasePath(), GetLogoPath(), TestProgramConnection());
        DbConnection server = DbConnection::ToServer(TestProgramConnection());
        server.execute(QStringLiteral("DELETE FROM tblPrices WHERE intPrcItemNumID > 2;"));
        try {
            CopyDataToServer(GetDatabasePath(), GetLogoPath(), TestProgramConnection());
            QFAIL("copied again");
        } catch (const AppError& error) {
            QVERIFY2(error.message().contains(QStringLiteral("already holds tables of Fennick")), qPrintable(error.message()));
            QVERIFY(error.message().endsWith(QStringLiteral("so nothing was changed")));
        }
        QCOMPARE(server.countRows(QStringLiteral("SELECT * FROM tblPrices;")), 2);
    }

    void aFailureLeavesNothingOnTheServer()
    {
        // A column the server's table lacks: found only once the copy is under way.
        DbConnection file;
        file.execute(QStringLiteral("ALTER TABLE tblPrices ADD COLUMN strSupplier TEXT;"));
        file.close();
        try {
            CopyDataToServer(GetDatabasePath(), GetLogoPath(), TestProgramConnection());
            QFAIL("copied");
        } catch (const AppError& error) {
            QVERIFY2(error.message().contains(QStringLiteral("strSupplier")), qPrintable(error.message()));
        }
        DbConnection server = DbConnection::ToServer(TestProgramConnection());
        QCOMPARE(server.tableNames(), QStringList());
    }

    void theCommandLineCopiesWithoutAWindow()
    {
        // No display and no platform plug-in: a window could not open.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(programPath(), {QStringLiteral("--copy-data-to"), TestProgramConnection()});
        QVERIFY(program.waitForFinished(60000));
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        QCOMPARE(program.exitCode(), 0);
        QVERIFY2(out.startsWith(QStringLiteral("Copied to database %1 on 127.0.0.1").arg(TestProgramDatabase())),
                 qPrintable(out));
        QVERIFY(out.contains(QStringLiteral("Every table's rows were read back and match.")));
        DbConnection server = DbConnection::ToServer(TestProgramConnection());
        QCOMPARE(server.countRows(QStringLiteral("SELECT * FROM tblInvData;")), 6);
        server.close();

        // Again: refused, with the reason on the terminal, and a failure's exit code.
        program.start(programPath(), {QStringLiteral("--copy-data-to"), TestProgramConnection()});
        QVERIFY(program.waitForFinished(60000));
        QVERIFY(program.exitCode() != 0);
        QVERIFY(QString::fromUtf8(program.readAllStandardError()).contains(QStringLiteral("already holds tables")));
        QVERIFY(program.readAllStandardOutput().isEmpty());
    }
};

FENNICK_TEST_MAIN(TestCopyToServer)
#include "test_copytoserver.moc"
