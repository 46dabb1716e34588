// The company settings without a window: the tax-box text, the payment-term
// slots, the column preview, the tax-name check, and the save of the four
// settings tables with the logo file: all or nothing. Also the data folder and
// database file made for their owner only.
#include "common/TestFaults.h"
#include "common/TestServer.h"
#include "common/TestDatabase.h"
#include "common/TestSupport.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "company/unitCompanyData.h"
#include "company/unitCompanyRules.h"
#include "company/unitCompanyStore.h"
#include "company/unitLogoFile.h"
#include "db/DbConnection.h"
#include "shell/unitStartUp.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <sys/stat.h>

namespace {

QString Column(const QString& sql)
{
    DbConnection db;
    DbStatement row = db.prepare(sql);
    return row.step() ? row.columnText(0) : QStringLiteral("<no row>");
}

QString CompanyName() { return Column(QStringLiteral("SELECT strCompName FROM tblCompanyInfo")); }

// The file's permission bits as the system keeps them.
int Mode(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) return -1;
    return int(info.st_mode & 0777);
}

QImage Picture(const QColor& fill, QImage::Format format = QImage::Format_RGB32)
{
    QImage picture(40, 20, format);
    picture.fill(fill);
    return picture;
}

QByteArray JpegOf(const QImage& picture)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPG");
    return jpeg;
}

// Everything the settings hold, changed in every table.
TCompanySettings ChangedSettings()
{
    TCompanySettings s = CurrentCompanySettings();
    s.company.strCompName = QStringLiteral("O\"Brien; Sons");
    s.company.strCompEmailPassword = QStringLiteral("pa'ss\"word");
    s.invData.strTaxName1 = QStringLiteral("City Tax");
    s.invData.dbTaxRate1 = 0.0725;
    s.invData.strInvFootNote[1] = QStringLiteral("Line one;\n\"Line\" two");
    s.invData.strInvTerms = PaymentTermSlots({QStringLiteral("Net 10")});
    s.typeColors[4] = PackColor(18, 52, 86);
    s.planner.intRemoveActivity = 3;
    return s;
}

} // namespace

class TestCompanyStore : public QObject {
    Q_OBJECT

private slots:
    void init() { CreateTestDatabase(); QFile::remove(GetLogoPath()); }
    void cleanup() { RunOutSavingNotice(); }

    void taxBoxTextIsMadeWhole_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("whole");
        QTest::newRow("cleared") << " .    " << "0.0000";
        QTest::newRow("empty text") << "" << "0.0000";
        QTest::newRow("five typed first") << "5.0000" << "5.0000";
        QTest::newRow("last digit removed") << "0.012 " << "0.0120";
        QTest::newRow("first digit removed") << " .0500" << "0.0500";
    }
    void taxBoxTextIsMadeWhole()
    {
        QFETCH(QString, box);
        QFETCH(QString, whole);
        QCOMPARE(SetToNumber(box), whole);
    }

    void columnPreviewIsPackedFromTheRight_data()
    {
        QTest::addColumn<bool>("quantity");
        QTest::addColumn<bool>("priceEach");
        QTest::addColumn<bool>("total");
        QTest::addColumn<QStringList>("headings");   // left to right
        QTest::addColumn<QStringList>("line1");
        QTest::addColumn<QStringList>("line2");
        QTest::newRow("all three") << true << true << true << QStringList{"Quantity", "Price Each", "Total"}
                                   << QStringList{"5", "$4.95", "$24.75"} << QStringList{"14", "$12.66", "$177.24"};
        QTest::newRow("quantity and total") << true << false << true << QStringList{"", "Quantity", "Total"}
                                            << QStringList{"", "5", "$24.75"} << QStringList{"", "14", "$177.24"};
        QTest::newRow("price each only") << false << true << false << QStringList{"", "", "Price Each"}
                                         << QStringList{"", "", "$4.95"} << QStringList{"", "", "$12.66"};
        QTest::newRow("none") << false << false << false << QStringList{"", "", ""} << QStringList{"", "", ""}
                              << QStringList{"", "", ""};
    }
    void columnPreviewIsPackedFromTheRight()
    {
        QFETCH(bool, quantity);
        QFETCH(bool, priceEach);
        QFETCH(bool, total);
        QFETCH(QStringList, headings);
        QFETCH(QStringList, line1);
        QFETCH(QStringList, line2);
        const auto columns = ColumnPreview(quantity, priceEach, total);
        for (int col = 0; col < 3; ++col) {
            QCOMPARE(columns[col].heading, headings[col]);
            QCOMPARE(columns[col].line1, line1[col]);
            QCOMPARE(columns[col].line2, line2[col]);
        }
    }

    void taxNameIsRequiredOnlyWithARate()
    {
        QCOMPARE(TaxOptionMissingName({"0.0123", "0.0500", "0.0000"}, {"Local", "", ""}), 2);
        QCOMPARE(TaxOptionMissingName({"0.0123", "0.0000", "0.0000"}, {"Local", "", ""}), 0);
        QCOMPARE(TaxOptionMissingName({"0.0000", "0.0000", "0.0001"}, {"", "Named", ""}), 3);
        QCOMPARE(TaxNameMissingMessage(2), QStringLiteral("Please enter a Tax Name for Tax Option 2."));
        QCOMPARE(PaymentTermsCountText(10), QStringLiteral("Payment Terms are full"));
        QCOMPARE(PaymentTermsCountText(4), QStringLiteral("You may add 6 more Payment Terms"));
        QCOMPARE(RemovePaymentTermQuestion("Net 30"), QStringLiteral("Remove \"Net 30\" from list?"));
    }

    // Every value goes to its column exactly as typed, and the settings in
    // memory follow; the document counter stays.
    void saveWritesAllFourTablesAndMemory()
    {
        const QString counter = Column(QStringLiteral("SELECT intInvNumber FROM tblCompanyInvData"));
        recCmpnyInvData.strInvFootNote[0] = QStringLiteral("chosen on the main window");
        SaveCompanySettings(ChangedSettings(), {});

        QCOMPARE(CompanyName(), QStringLiteral("O\"Brien; Sons"));
        QCOMPARE(Column("SELECT strCompEmailPassword FROM tblCompanyInfo"), QStringLiteral("pa'ss\"word"));
        QCOMPARE(Column("SELECT strInvFootNote1 FROM tblCompanyInvData"), QStringLiteral("Line one;\n\"Line\" two"));
        QCOMPARE(Column("SELECT dbTaxRate1 FROM tblCompanyInvData"), QStringLiteral("0.0725"));
        QCOMPARE(Column("SELECT strInvTerms1 || '|' || strInvTerms2 || '|' || strInvTerms10 FROM tblCompanyInvData"),
                 QStringLiteral("Net 10||"));
        QCOMPARE(Column("SELECT intInvNumber FROM tblCompanyInvData"), counter);
        QCOMPARE(Column("SELECT intInvColorRed || ',' || intInvColorGreen || ',' || intInvColorBlue FROM tblCompColorData"),
                 QStringLiteral("18,52,86"));
        QCOMPARE(Column("SELECT intRemoveActivity FROM tblPlannerSettings"), QStringLiteral("3"));

        QCOMPARE(recCompanyData.strCompName, QStringLiteral("O\"Brien; Sons"));
        QCOMPARE(recCmpnyInvData.strTaxName1, QStringLiteral("City Tax"));
        QCOMPARE(arrInvTypeColor[4], PackColor(18, 52, 86));
        QCOMPARE(recCmpnyInvData.strInvFootNote[0], QStringLiteral("chosen on the main window"));

        // What is stored is what the next start reads.
        recCompanyData = {};
        LoadCompanyData();
        QCOMPARE(recCompanyData.strCompName, QStringLiteral("O\"Brien; Sons"));
        QCOMPARE(recCmpnyInvData.dbTaxRate1, 0.0725);
    }

    // A failure in the last table, or a database locked by another program,
    // leaves all four tables, the logo and the settings in memory as they were.
    void failedSaveChangesNothing_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("planner row missing") << "missing";
        QTest::newRow("database locked") << "locked";
    }
    void failedSaveChangesNothing()
    {
        QFETCH(QString, fault);
        StoreLogoBytes(JpegOf(Picture(Qt::red)));
        const QByteArray oldLogo = StoredLogoBytes();
        const QString oldName = CompanyName();
        const QString oldTax = Column("SELECT strTaxName1 FROM tblCompanyInvData");
        const QString oldColor = Column("SELECT intInvColorRed FROM tblCompColorData");

        {
            std::optional<TWritesRefused> refused;
            if (fault == QLatin1String("missing"))
                DbConnection().execute(QStringLiteral("DELETE FROM tblPlannerSettings;"));
            else
                refused.emplace();
            QVERIFY_THROWS_EXCEPTION(AppError, SaveCompanySettings(ChangedSettings(), {true, Picture(Qt::blue)}));
        }

        QCOMPARE(CompanyName(), oldName);
        QCOMPARE(Column("SELECT strTaxName1 FROM tblCompanyInvData"), oldTax);
        QCOMPARE(Column("SELECT intInvColorRed FROM tblCompColorData"), oldColor);
        QCOMPARE(recCompanyData.strCompName, oldName);
        QCOMPARE(recCmpnyInvData.strTaxName1, oldTax);
        QCOMPARE(StoredLogoBytes(), oldLogo);
        // No half-written logo is left beside it.
        QCOMPARE(QDir(GetDataFolder()).entryList(QDir::Files).filter(QStringLiteral("CmpLogo")),
                 TestRunsOnServer() ? QStringList() : QStringList{QStringLiteral("CmpLogo.jpg")});
    }

    // Any picture is stored as a JPEG; a transparent background turns white.
    void logoIsStoredAsJpegOnWhite()
    {
        const QString png = QDir(GetTempFolder()).filePath(QStringLiteral("logo.png"));
        QImage transparent(40, 20, QImage::Format_ARGB32);
        transparent.fill(Qt::transparent);
        for (int x = 0; x < 10; ++x)
            for (int y = 0; y < 20; ++y) transparent.setPixelColor(x, y, QColor(0, 0, 200));
        QVERIFY(transparent.save(png, "PNG"));

        SaveCompanySettings(CurrentCompanySettings(), {true, ReadLogoPicture(png)});
        QBuffer logo;
        logo.setData(StoredLogoBytes());
        QImageReader reader(&logo);
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        const QImage stored = reader.read();
        QCOMPARE(stored.size(), QSize(40, 20));
        const QColor background = stored.pixelColor(30, 10);
        QVERIFY2(background.red() > 240 && background.green() > 240 && background.blue() > 240,
                 qPrintable(background.name()));
        QVERIFY(stored.pixelColor(3, 10).blue() > 150);

        SaveCompanySettings(CurrentCompanySettings(), {true, QImage()});
        QVERIFY(!HasStoredLogo());
    }

    void unreadablePictureIsRefusedPlainly()
    {
        const QString fake = QDir(GetTempFolder()).filePath(QStringLiteral("logo.png"));
        QFile file(fake);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("this is not a picture");
        file.close();
        try {
            ReadLogoPicture(fake);
            QFAIL("a text file was read as a picture");
        } catch (const AppError& error) {
            QVERIFY2(error.message().contains(QStringLiteral("could not be read as a picture")),
                     qPrintable(error.message()));
        }
    }

    // The database holds the mail password: a fresh start makes the data folder
    // and the database file for their owner only.
    void startUpMakesOwnerOnlyDataFolderAndDatabase()
    {
        SKIP_ON_SERVER("the permissions of the file");
        TestDataFolder fresh;
        StartUp();
        RunOutSavingNotice();
        QCOMPARE(Mode(GetDataFolder()), 0700);
        QCOMPARE(Mode(GetTempFolder()), 0700);
        QCOMPARE(Mode(GetDatabasePath()), 0600);
        QVERIFY(!recCompanyData.strCompName.isEmpty());
    }
};

FENNICK_TEST_MAIN(TestCompanyStore)
#include "test_companystore.moc"
