// Stored amounts that money text cannot show (beyond its range, not finite):
// the lists show a marker instead, and nothing thrown escapes a model.
#include "common/TestSupport.h"
#include "maintenance/MaintenanceFixture.h"

#include "app/unitModeValues.h"
#include "app/unitRegional.h"
#include "documents/unitDocumentModel.h"
#include "maintenance/unitfrmInvoiceMaintenance.h"

#include <QAbstractItemModel>
#include <QTableView>
#include <limits>

class TestUnshowableAmounts : public QObject {
    Q_OBJECT

private slots:
    void moneyDisplayText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ordinary") << 1234.5 << "$1,234.50";
        QTest::newRow("beyond range") << 1e300 << "####";
        QTest::newRow("negative beyond range") << -1e300 << "####";
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << "####";
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "####";
        QTest::newRow("largest shown") << 922337203685477.0 << "$922,337,203,685,477.00";
    }
    void moneyDisplayText()
    {
        QFETCH(double, value);
        QFETCH(QString, shown);
        QCOMPARE(MoneyDisplayText(value), shown);
        QCOMPARE(kUnshownAmountText, QStringLiteral("####"));
    }

    // Invoice maintenance opens over documents whose totals cannot be shown.
    void maintenanceListsUnshowableTotals()
    {
        CreateTestDatabase();
        InsertTestDoc({.number = 500, .type = "Invoice", .fullName = "Huge, Hal", .company = "Big Co"});
        InsertTestDoc({.number = 501, .type = "Invoice", .fullName = "Inf, Ina", .company = "Endless Co"});
        InsertTestDoc({.number = 502, .type = "Invoice", .fullName = "Fine, Fay", .company = "Plain Co"});
        DbConnection connection;
        connection.execute(QStringLiteral("UPDATE tblInvDataHeader SET dbInvTotal = 1e300 WHERE intInvNumber = 500;"));
        connection.execute(QStringLiteral("UPDATE tblInvDataHeader SET dbInvTotal = 9e999 WHERE intInvNumber = 501;"));
        connection.close();

        blShowUnpaidOnly = false;
        TfrmInvoiceMaintenance screen;
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        QVERIFY(!screen.grab().isNull());   // paints every visible row
        auto* list = screen.findChild<QTableView*>(QStringLiteral("lstvwInvMaintenance"));
        QVERIFY(list);
        const QAbstractItemModel* model = list->model();
        QCOMPARE(model->rowCount(), 3);
        int totalColumn = -1;
        for (int column = 0; column < model->columnCount(); ++column)
            if (model->headerData(column, Qt::Horizontal).toString().contains(QStringLiteral("Total"))) totalColumn = column;
        QVERIFY(totalColumn >= 0);
        QStringList totals;
        for (int row = 0; row < 3; ++row) totals << model->index(row, totalColumn).data().toString();
        QCOMPARE(totals, (QStringList{"####", "####", "$105.00"}));
    }
};

FENNICK_TEST_MAIN(TestUnshowableAmounts)
#include "test_unshowableamounts.moc"
