#pragma once
// Stored documents written straight into a fresh test database, the way the
// store leaves them, and small readers for what the tests check afterwards.
#include "common/TestDatabase.h"
#include "common/TestSupport.h"
#include "db/DbConnection.h"
#include "maintenance/unitInvMaintenanceListModel.h"

#include <QList>
#include <QString>

struct TestDoc {
    int number = 0;
    QString type;
    QString fullName;
    QString company;
    QString paid = QStringLiteral("0");
    QString recurring = QStringLiteral("0");
    QString savedToReport = QStringLiteral("0");
    double labour = 100;    // labour subtotal; tax 1 on labour is 5 %
    double material = 0;
    QString date = QStringLiteral("3/15/2024");
    QString source;         // strFromInvNameNumber
    int lines = 1;          // each line: labour 100, quantity 1
};

inline void InsertTestDoc(const TestDoc& doc)
{
    DbConnection connection;
    const double tax1 = doc.labour * 0.05;
    const double total = doc.labour + doc.material + tax1;
    connection.execute(
        QStringLiteral(
            "INSERT INTO tblInvDataHeader(intInvNumber,strCustCmpnyName,strCustFullName,strCustAddress,"
            "strCustCtyStZp,strCustPhnFax,strCustEmail,strCustTaxExemptNum,strCustTaxExempt,strCustPONumber,"
            "strInvName,strInvTerms,intInvFootNotes,strUseTax1,strUseTax2,strUseTax3,strInvNotes,"
            "strFromInvNameNumber,strFutureInfo,strPaidInFull,strRecurring,strSavedToReport,dbLbrTax1Total,"
            "dbLbrTax2Total,dbLbrTax3Total,dbMatTax1Total,dbMatTax2Total,dbMatTax3Total,dbLbrTotal,dbMatTotal,"
            "dbAmountPaid,dbDepAmount,dbInvTotal,strInvDate)"
            "VALUES(?,?,?,'12 Main St','Springfield, IL 62701','555-0100','a@example.com','','0','',?,"
            "'Net 30',0,'-1','0','0','a note',?,'',?,?,?,?,0,0,0,0,0,?,?,0,0,?,?);"),
        {doc.number, doc.company, doc.fullName, doc.type, doc.source, doc.paid, doc.recurring,
         doc.savedToReport, tax1, doc.labour, doc.material, total, doc.date});
    for (int line = 0; line < doc.lines; ++line)
        connection.execute(
            QStringLiteral("INSERT INTO tblInvData(intInvNumber,strPrcItemName,strPrcItmQuantity,strLabTax,strMatTax,"
                           "dbLbrPrc,dbMatPrc)VALUES(?,?,'1','-1','0',100,0);"),
            {doc.number, QStringLiteral("Window washing %1").arg(line + 1)});
}

// The numbers of every row of the list, read to its end.
inline QList<int> ListedNumbers(TInvMaintenanceListModel& model)
{
    ReadWholeList(&model);
    QList<int> numbers;
    for (int row = 0; row < model.rowCount(); ++row) numbers << model.row(row).intInvNumber;
    return numbers;
}

inline QString StoredText(const QString& sql, const QVariantList& values = {})
{
    DbConnection connection;
    DbStatement read = connection.prepare(sql, values);
    return read.step() ? read.columnText(0) : QStringLiteral("<no row>");
}
