// A seat that works on a server: configured in its settings file, it starts on
// an empty server database, builds it, and works the whole road there (company
// settings with the logo, customer, price item, an invoice saved, printed to
// PDF and e-mailed, invoice maintenance, reports, planner). A server that
// cannot be reached at the start offers this computer's file or Quit; a
// connection lost during work keeps what was typed and the next action
// reconnects; Backup and Restore ask for their folder and file there too.
#include "printing/PdfText.h"
#include "common/TestDatabase.h"
#include "common/TestServer.h"
#include "common/TestSupport.h"
#include "email/SmtpTestServer.h"

#include "app/unitAppInfo.h"
#include "app/unitModeValues.h"
#include "company/unitCompanyData.h"
#include "company/unitCompanyLogoStore.h"
#include "company/unitCompanyStore.h"
#include "company/unitLogoFile.h"
#include "customers/unitCustomerSearch.h"
#include "customers/unitCustomerStore.h"
#include "customers/unitfrmCustomer.h"
#include "db/DbConnection.h"
#include "db/unitDatabaseTarget.h"
#include "db/unitServerEngine.h"
#include "documents/unitDocumentStore.h"
#include "documents/unitInvoiceHolders.h"
#include "email/unitEmailSend.h"
#include "maintenance/unitInvoiceMaintenanceRules.h"
#include "maintenance/unitReportRules.h"
#include "planner/unitActivityStore.h"
#include "planner/unitPlannerListModel.h"
#include "prices/unitPriceSearch.h"
#include "prices/unitPriceStore.h"
#include "printing/unitModPrintData.h"
#include "printing/unitPrintData.h"
#include "app/unitModalRunner.h"
#include "backup/unitDailyBackups.h"
#include "backup/unitServerDailyCopy.h"
#include "shell/unitStartUp.h"
#include "shell/unitfrmMain.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

template <typename T>
T* child(QWidget* parent, const char* name)
{
    T* found = parent->findChild<T*>(QLatin1String(name));
    if (!found) qFatal("no control %s", name);
    return found;
}

int serverRows(const QString& sql)
{
    return DbConnection::ToServer(TestProgramConnection()).countRows(sql);
}

// How many pictures a PDF holds (poppler's pdfimages).
int pdfPictures(const QString& pdf)
{
    QProcess images;
    images.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    images.waitForFinished(30000);
    // Two heading lines, then one line per picture.
    return int(images.readAllStandardOutput().trimmed().split('\n').size()) - 2;
}

} // namespace

class TestServerSeat : public QObject {
    Q_OBJECT

    QTemporaryDir m_config;

private slots:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8()); }

    void init()
    {
        EmptyTestProgramDatabase();
        SetServerConnectionString(QString());
        QFile::remove(GetSeatSettingsPath());
        QFile::remove(GetDatabasePath());
    }

    void cleanup()
    {
        RunOutSavingNotice();
        SetServerConnectionString(QString());
        ReleaseDataFolderLock();
    }

    void aSeatConfiguredInItsSettingsFileBuildsTheServerDatabase()
    {
        WriteSeatConnectionString(TestProgramConnection());
        SetServerConnectionString(ReadSeatConnectionString());
        ScriptedMessages messages;
        QVERIFY(RunStartUp());
        QVERIFY(messages.shown().isEmpty());
        QVERIFY(!QFile::exists(GetDatabasePath()));   // no file on this computer
        QCOMPARE(serverRows(QStringLiteral("SELECT * FROM tblPrices;")), 12);
        QCOMPARE(serverRows(QStringLiteral("SELECT * FROM tblFennickSchema;")), 1);
        QCOMPARE(recCompanyData.strCompName, QStringLiteral("My Company Name"));

        // The main window says which database it works on; Backup and Restore
        // ask for their folder and file as on the file.
        TfrmMain window;
        QCOMPARE(child<QLabel>(&window, "lblDatabaseInUse")->text(),
                 QStringLiteral("Shared database %1 on 127.0.0.1 port %2").arg(TestProgramDatabase()).arg(TestServerPort()));
        {
            QStringList pickers;
            ScopedModalRunner cancel([&pickers](QDialog& dialog) {
                pickers << dialog.objectName();
                return int(QDialog::Rejected);
            });
            child<QAction>(&window, "submnuBackupData")->trigger();
            child<QAction>(&window, "submnuRestoreData")->trigger();
            QCOMPARE(pickers, (QStringList{QStringLiteral("dlgBackupFolder"), QStringLiteral("dlgRestoreFile")}));
        }
        QCOMPARE(messages.texts(), (QStringList{QStringLiteral("Backup of company database cancelled"),
                                                QStringLiteral("Restore of company database cancelled")}));
        QVERIFY(child<QAction>(&window, "submnuSharedDatabase")->isEnabled());

        // Closing takes the day's copy of the server where the seat is set to.
        WriteDailyServerCopySetting(true);
        window.close();
        QVERIFY(QFile::exists(QDir(GetServerCopiesFolder()).filePath(DailyBackupFileName(QDate::currentDate()))));
        QVERIFY(!QFileInfo::exists(QDir(GetBackupsFolder()).filePath(DailyBackupFileName(QDate::currentDate()))));
        QCOMPARE(messages.texts().size(), 2);
        WriteDailyServerCopySetting(false);
    }

    void aSeatOnThisComputersFileShowsNoServer()
    {
        QVERIFY(RunStartUp());
        TfrmMain window;
        QVERIFY(!window.findChild<QLabel*>(QStringLiteral("lblDatabaseInUse")));
    }

    void theWholeRoadRunsOnTheServer()
    {
        SetServerConnectionString(TestProgramConnection());
        QVERIFY(RunStartUp());
        RunOutSavingNotice();
        // The tables of later features are there, with the e-invoice settings row.
        QCOMPARE(serverRows(QStringLiteral("SELECT * FROM tblEInvoiceSettings WHERE intEInvoiceSettingsID = 1;")), 1);
        QCOMPARE(serverRows(QStringLiteral("SELECT * FROM tblCalendarExport;")), 0);

        // Company settings with a logo: the logo goes into the database.
        TCompanySettings settings = CurrentCompanySettings();
        settings.company.strCompName = QStringLiteral("Road Test Roofing");
        TLogoChange logo;
        logo.changed = true;
        logo.picture = QImage(60, 30, QImage::Format_RGB32);
        logo.picture.fill(Qt::darkGreen);
        SaveCompanySettings(settings, logo);
        QCOMPARE(serverRows(QStringLiteral("SELECT * FROM tblCompanyLogo WHERE octet_length(blobLogoJpeg) > 100;")), 1);
        QVERIFY(!QFile::exists(GetLogoPath()));
        QCOMPARE(ReadStoredLogo(LogoFileForPrinting()).picture.size(), QSize(60, 30));
        LoadCompanyData();
        QCOMPARE(recCompanyData.strCompName, QStringLiteral("Road Test Roofing"));

        // A customer and a price item, found again by their searches.
        TCustomer customer;
        customer.strCustCompany = QStringLiteral("Ünïcorn Fences");
        customer.strCustEmail = QStringLiteral("pat@example.com");
        customer.strCustTaxExmpt = QStringLiteral("0");
        const qint64 customerId = SaveCustomer(customer);
        QCOMPARE(customerId, qint64(4));
        QCOMPARE(QueryCustomerList(cstCompanyName, QStringLiteral("ünï")).size(), std::size_t(1));
        TPriceItem item;
        item.strPrcItemName = QStringLiteral("Gate hinge");
        item.strLabTax = QStringLiteral("-1");
        item.strMatTax = QStringLiteral("0");
        item.strLbrPrc = QStringLiteral("12.50");
        item.strMatPrc = QStringLiteral("3.25");
        SavePriceItem(item);
        QCOMPARE(QueryPriceList(pstPriceItemName, QStringLiteral("gate")).size(), std::size_t(1));

        // An invoice saved, marked paid in full through invoice maintenance.
        TInvDocument document;
        document.header.intInvNumber = GetNextInvNumber();
        QCOMPARE(document.header.intInvNumber, 500);
        document.header.strInvName = QStringLiteral("Invoice");
        document.header.strInvDate = QStringLiteral("3/15/2024");
        document.header.strCustCmpnyName = customer.strCustCompany;
        document.header.strCustEmail = customer.strCustEmail;
        document.header.dbLbrTotal = 25.0;
        document.header.dbMatTotal = 6.5;
        document.header.dbInvTotal = 31.5;
        document.lines << TInvLine{QStringLiteral("Gate hinge"), QStringLiteral("2"), QStringLiteral("-1"),
                                   QStringLiteral("0"), QStringLiteral("12.5"), QStringLiteral("3.25")};
        QVERIFY(SaveDocument(document, false, false));
        RunOutSavingNotice();
        QCOMPARE(GetNextInvNumber(), 501);
        const std::vector<TInvMaintenanceRow> unpaid = QuerySavedInvoiceRows(
            BuildInvMaintenanceQuery(TInvMaintenanceMode::PaidInFull, QStringLiteral("All unpaid Invoices"), QString()));
        QCOMPARE(unpaid.size(), std::size_t(1));
        RunInvMaintenanceAction(TInvMaintenanceMode::PaidInFull, unpaid.front());
        RunOutSavingNotice();
        const std::vector<TReportLedgerRow> ledger = ReadReportLedgerRows(2024, 2024);
        QCOMPARE(ledger.size(), std::size_t(1));
        QCOMPARE(ledger.front().month, 3);
        QCOMPARE(ledger.front().amounts.dbLbrTotal, 25.0);

        // Printed to PDF, with the logo from the database, and e-mailed.
        const TLoadedDocument loaded = LoadDocument(500);
        intCurrentInvNumber = 500;
        blManualInvoice = false;
        recPrintData = TrecPrintData();
        recPrintData.strInvType = loaded.document.header.strInvName;
        recPrintData.strCustCompany = loaded.document.header.strCustCmpnyName;
        recPrintData.strInvDate = loaded.document.header.strInvDate;
        ListViewPriceItems = loaded.document.lines;
        txtInvoiceNotes = loaded.document.strInvNotes;
        intPrintJob = pjDocument;
        const QString pdf = DocumentPdfPath();
        TmodPrintData module;
        module.pCreatePDFFile(pdf);
        QVERIFY(QFileInfo::exists(pdf));
        QCOMPARE(pdfPictures(pdf), 1);
        QVERIFY(PageContains(ReadPdfWords(pdf).value(0), QStringLiteral("Road Test Roofing")));

        SmtpTestServer smtp;
        QVERIFY(smtp.port() > 0);
        TrecCompanyData company = recCompanyData;
        company.strCompEmailHost = QStringLiteral("127.0.0.1");
        company.strCompEmailPort = QString::number(smtp.port());
        company.strCompEmailLogin.clear();
        TrecEmailData handOver;
        handOver.strRecipientName = customer.strCustCompany;
        handOver.blAttach = true;
        handOver.strAttachmentPath = pdf;
        SendEmail(company, handOver, QStringLiteral("pat@example.com"), QStringLiteral("Invoice 500"),
                  QStringLiteral("Thank you"));
        QVERIFY(WaitUntil([&] { return smtp.events(QStringLiteral("message")).size() == 1; }));

        // The planner: an activity saved and listed.
        TActivityInput activity;
        activity.title = QStringLiteral("Fit the gate");
        activity.start = QDateTime(QDate(2024, 3, 18), QTime(9, 0));
        activity.end = QDateTime(QDate(2024, 3, 19), QTime(17, 0));
        const qint64 master = pSavePlannerActivity(activity);
        QCOMPARE(ReadActivityDay(2024, QDate(2024, 3, 19).dayOfYear()).size(), std::size_t(1));
        QCOMPARE(ReadActivityDay(2024, QDate(2024, 3, 19).dayOfYear()).front().intActMasterID, master);
        QVERIFY(!QFile::exists(GetDatabasePath()));
    }

    void anUnreachableServerOffersThisComputersFileOrQuit()
    {
        const QString closed = QStringLiteral("host=127.0.0.1 port=1 dbname=fennick");
        SetServerConnectionString(closed);
        ScriptedMessages messages;
        messages.queue(MessageAnswer::No);   // Quit
        QVERIFY(!RunStartUp());
        QCOMPARE(messages.shown().size(), 1);
        const MessageRequest asked = messages.shown().first();
        QCOMPARE(asked.kind, MessageKind::Choice);
        QCOMPARE(asked.buttons, (QStringList{QStringLiteral("Use This Computer's File"), QStringLiteral("Quit")}));
        QVERIFY2(asked.text.startsWith(QStringLiteral("Cannot connect to the database server (database fennick on "
                                                      "127.0.0.1 port 1): the server refused the connection")),
                 qPrintable(asked.text));
        QVERIFY(!QFile::exists(GetDatabasePath()));

        messages.clear();
        messages.queue(MessageAnswer::Yes);   // this computer's file, for this run
        QVERIFY(RunStartUp());
        QVERIFY(!UsesServer());
        QVERIFY(QFile::exists(GetDatabasePath()));
    }

    void aNewerServerDatabaseIsRefusedAtTheStart()
    {
        SetServerConnectionString(TestProgramConnection());
        QVERIFY(RunStartUp());
        DbConnection::ToServer(TestProgramConnection()).execute(QStringLiteral("UPDATE tblFennickSchema SET intSchemaVersion = 99;"));
        ReleaseDataFolderLock();
        ScriptedMessages messages;
        messages.queue(MessageAnswer::No);
        QVERIFY(!RunStartUp());
        QVERIFY2(messages.texts().value(0).startsWith(QStringLiteral("The shared database %1 on 127.0.0.1 port %2 cannot "
                                                                     "be used: This database was made by a newer version")
                                                          .arg(TestProgramDatabase())
                                                          .arg(TestServerPort())),
                 qPrintable(messages.texts().value(0)));
    }

    void aConnectionLostDuringWorkKeepsWhatWasTyped()
    {
        SetServerConnectionString(TestProgramConnection());
        QVERIFY(RunStartUp());
        RunOutSavingNotice();
        TfrmCustomer screen;
        screen.show();
        child<QToolButton>(&screen, "tlbtnNewCustomer")->click();
        QLineEdit* company = child<QLineEdit>(&screen, "txtCustCmpnyName");
        company->setFocus();
        QTest::keyClicks(company, QStringLiteral("Typed Before The Cut"));

        CutServerConnections(TestProgramDatabase());
        ScriptedMessages messages;
        QCoreApplication::processEvents();
        child<QToolButton>(&screen, "tlbtnSave")->click();
        RunOutSavingNotice();
        QCOMPARE(messages.shown().size(), 1);
        QCOMPARE(messages.shown().first().kind, MessageKind::Error);
        QVERIFY2(messages.texts().first().startsWith(QStringLiteral("The connection to the database server (database %1")
                                                         .arg(TestProgramDatabase())),
                 qPrintable(messages.texts().first()));
        QCOMPARE(company->text(), QStringLiteral("Typed Before The Cut"));

        // The next action connects again and saves what is on the screen.
        messages.clear();
        child<QToolButton>(&screen, "tlbtnSave")->click();
        RunOutSavingNotice();
        QVERIFY2(messages.shown().isEmpty(), qPrintable(messages.texts().join('|')));
        QCOMPARE(serverRows(QStringLiteral("SELECT * FROM tblCustomers WHERE strCustCompany = 'Typed Before The Cut';")), 1);
    }
};

FENNICK_TEST_MAIN(TestServerSeat)
#include "test_serverseat.moc"
