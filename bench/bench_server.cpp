// The same figures on a server seat: the customer list and the price sheet at
// 1,000,000 rows and invoice maintenance with 1,000,000 stored documents (first
// screenful, search as you type, refill, longest page), and a 100-line
// document saved and loaded, each next to the same query or transaction
// through the raw libpq C API. The server is a
// private PostgreSQL on 127.0.0.1 (tests/server/private_postgres.py), started
// for the run and stopped at its end.
#include "BenchSupport.h"
#include "MaintenanceFigures.h"

#include "app/unitAppInfo.h"
#include "app/unitRegional.h"
#include "app/unitfrmSaving.h"
#include "company/unitCompanyData.h"
#include "customers/unitCustomerSearch.h"
#include "customers/unitfrmCustomer.h"
#include "db/DbConnection.h"
#include "db/unitDatabaseTarget.h"
#include "db/unitListQuery.h"
#include "db/unitServerEngine.h"
#include "db/unitServerSchema.h"
#include "documents/unitDocumentLedgerRules.h"
#include "documents/unitDocumentStore.h"
#include "documents/unitMonthlyLedger.h"
#include "maintenance/unitInvMaintenanceListModel.h"
#include "maintenance/unitInvoiceMaintenanceRules.h"
#include "maintenance/unitfrmInvoiceMaintenance.h"
#include "prices/unitPriceSearch.h"
#include "prices/unitfrmPrice.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeView>

#include <libpq-fe.h>

#include <algorithm>
#include <cstdio>

namespace {

using bench::MedianMs;

constexpr int kRows = 1000000;
constexpr int kLines = 100;
const QString kScript = QStringLiteral(FENNICK_SOURCE_DIR "/tests/server/private_postgres.py");

// The private server of this run; stopped when the object goes.
class PrivateServer {
public:
    explicit PrivateServer(const QString& stateDir) : m_state(stateDir)
    {
        QProcess start;
        start.start(QStringLiteral("/usr/bin/python3"), {kScript, QStringLiteral("start"), m_state});
        start.waitForFinished(300000);
        m_port = QString::fromUtf8(start.readAllStandardOutput()).trimmed().toInt();
        if (start.exitCode() != 0 || m_port == 0)
            qFatal("the private PostgreSQL server did not start: %s", start.readAllStandardError().constData());
    }
    ~PrivateServer()
    {
        CloseIdleServerSessions();
        QProcess::execute(QStringLiteral("/usr/bin/python3"), {kScript, QStringLiteral("stop"), m_state});
    }
    QString connection(const QString& database) const
    {
        return QStringLiteral("host=127.0.0.1 port=%1 dbname=%2 user=fennick_test").arg(m_port).arg(database);
    }

private:
    QString m_state;
    int m_port = 0;
};

// One raw libpq connection for the raw side of every figure.
class Raw {
public:
    explicit Raw(const QString& connection) : m_conn(PQconnectdb(connection.toUtf8().constData()))
    {
        if (PQstatus(m_conn) != CONNECTION_OK) qFatal("raw connection: %s", PQerrorMessage(m_conn));
    }
    ~Raw() { PQfinish(m_conn); }
    PGconn* conn() const { return m_conn; }

    // The query with text values, every value of every row read as UTF-16 text
    // as the lists read it (the file's raw side does the same through SQLite's
    // own conversion); returns the rows.
    int select(const QString& sql, const QStringList& values = {}) const
    {
        const QByteArray text = NumberedSql(sql);
        std::vector<QByteArray> storage;
        std::vector<const char*> params;
        for (const QString& value : values) storage.push_back(value.toUtf8());
        for (const QByteArray& value : storage) params.push_back(value.constData());
        PGresult* result = PQexecParams(m_conn, text.constData(), int(params.size()), nullptr, params.data(), nullptr,
                                        nullptr, 0);
        if (PQresultStatus(result) != PGRES_TUPLES_OK) qFatal("raw select: %s", PQresultErrorMessage(result));
        const int rows = PQntuples(result);
        const int columns = PQnfields(result);
        std::size_t bytes = 0;
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column)
                bytes += std::size_t(
                    QString::fromUtf8(PQgetvalue(result, row, column), PQgetlength(result, row, column)).size());
        PQclear(result);
        static volatile std::size_t sink;
        sink = bytes;
        return rows;
    }
    void run(const char* sql) const
    {
        PGresult* result = PQexec(m_conn, sql);
        if (PQresultStatus(result) != PGRES_COMMAND_OK && PQresultStatus(result) != PGRES_TUPLES_OK)
            qFatal("raw: %s: %s", sql, PQresultErrorMessage(result));
        PQclear(result);
    }
    static QByteArray NumberedSql(const QString& sql)
    {
        QString out;
        int n = 0;
        for (QChar c : sql) {
            if (c == QLatin1Char('?'))
                out += QLatin1Char('$') + QString::number(++n);
            else if (c != QLatin1Char(';'))
                out += c;
        }
        return out.toUtf8();
    }

private:
    PGconn* m_conn;
};

void FillTables(const Raw& raw)
{
    // Filled on the server in three statements: the rows are the bench's, not its subject.
    raw.run("INSERT INTO tblCustomers(strCustFirstName,strCustLastName,strCustCompany,strCustAddress,strCustCity,"
            "strCustState,strCustZipCode,strCustEmail,strCustPhone,strCustFax,strCustPhoneAreaCode,"
            "strCustFaxAreaCode,strCustPhoneExt,strCustTaxExmpt,strCustTaxExmpNmbr,strCustPmtTerms,strCustNotes) "
            "SELECT 'First' || i, chr(65 + i % 26) || 'ast' || i, chr(65 + i % 26) || 'company ' || i, "
            "i || ' Main Street', 'Springfield', 'State', '12345', 'c' || i || '@example.com', '5551234', "
            "'5554321', '225', '225', '', CASE WHEN i % 10 = 0 THEN '-1' ELSE '0' END, '', '', 'notes' "
            "FROM generate_series(0, 999999) AS i;");
    raw.run("INSERT INTO tblPrices(strPrcItemName,strLabTax,strMatTax,dbLbrPrc,dbMatPrc) "
            "SELECT chr(65 + i % 26) || ' price item ' || i, CASE WHEN i % 3 = 0 THEN '-1' ELSE '0' END, '0', "
            "10.0 + i % 100, 0.25 * (i % 40) FROM generate_series(0, 999999) AS i;");
    raw.run("INSERT INTO tblInvDataHeader(intInvNumber,strCustCmpnyName,strCustFullName,strInvName,strPaidInFull,"
            "strRecurring,strSavedToReport,dbLbrTotal,dbMatTotal,dbInvTotal,strInvDate) "
            "SELECT 1001 + i, 'Company ' || (i % 5000) || ' Services', 'Lastname' || (i % 20000) || ', Firstname', "
            "(ARRAY['Estimate','Work Order','Change Order','Invoice','Credit','Past Due'])[1 + i % 6], "
            "CASE WHEN i % 3 = 0 THEN '-1' ELSE '0' END, CASE WHEN i % 17 = 0 THEN '-1' ELSE '0' END, '0', "
            "50 + i % 997, 25.0, (50 + i % 997) * 1.05 + 25.0, '3/15/2024' FROM generate_series(0, 999999) AS i;");
    raw.run("INSERT INTO tblInvData(intInvNumber,strPrcItemName,strPrcItmQuantity,strLabTax,strMatTax,dbLbrPrc,dbMatPrc) "
            "SELECT 1001 + i, 'Window washing', '1', '-1', '0', 50 + i % 997, 25.0 FROM generate_series(0, 999999) AS i;");
    raw.run("UPDATE tblCompanyInvData SET intInvNumber = 2000000;");
    // As a server that has been in use: hint bits set and statistics taken.
    raw.run("VACUUM ANALYZE;");
}

// The raw side of the list figures: the query through libpq, values as text.
std::function<void(const QString&, const QVariantList&)> RawRunner(const Raw& raw)
{
    return [&raw](const QString& sql, const QVariantList& values) {
        QStringList texts;
        for (const QVariant& value : values) texts << value.toString();
        raw.select(sql, texts);
    };
}

TInvDocument MakeDocument(int number)
{
    TInvDocument document;
    TInvHeader& h = document.header;
    h.intInvNumber = number;
    h.strInvName = arrInvTypeNames[itInvoice];
    h.strCustCmpnyName = QStringLiteral("Acme Building Services");
    h.strCustFullName = QStringLiteral("Jane Smith");
    h.strInvDate = DateToStr(QDate::currentDate());
    h.strPaidInFull = true;
    h.strSavedToReport = true;
    h.dbLbrTotal = 5000;
    h.dbMatTotal = 2500;
    h.dbInvTotal = 7500;
    document.strInvNotes = QStringLiteral("Work as agreed on site.");
    for (int i = 0; i < kLines; ++i)
        document.lines.append({QStringLiteral("Line item %1 with a longer description").arg(i), QStringLiteral("2"),
                               QStringLiteral("-1"), QStringLiteral("0"), QStringLiteral("25"), QStringLiteral("12.5")});
    return document;
}

// A column of values as the server's array literal, every element quoted.
QByteArray RawArray(const std::vector<QByteArray>& values)
{
    QByteArray literal("{");
    for (const QByteArray& value : values) {
        if (literal.size() > 1) literal += ',';
        literal += '"';
        for (char c : value) {
            if (c == '"' || c == '\\') literal += '\\';
            literal += c;
        }
        literal += '"';
    }
    literal += '}';
    return literal;
}

PGresult* RawExec(PGconn* c, const char* sql, std::initializer_list<const char*> values)
{
    const std::vector<const char*> params(values);
    PGresult* r = PQexecParams(c, sql, int(params.size()), nullptr, params.data(), nullptr, nullptr, 0);
    if (PQresultStatus(r) != PGRES_COMMAND_OK && PQresultStatus(r) != PGRES_TUPLES_OK)
        qFatal("raw: %s: %s", sql, PQresultErrorMessage(r));
    return r;
}

// The same work as the store's save of a new paid invoice, through libpq, in
// the same locking order: the counter locked and the number checked as free,
// the counter advanced, the month's ledger row made or added to (and so
// locked), the header, and the lines in one statement prepared once.
void RawSave(const Raw& raw, const TInvDocument& document, const QDate& date)
{
    PGconn* c = raw.conn();
    raw.run("BEGIN ISOLATION LEVEL READ COMMITTED");
    const TInvHeader& h = document.header;
    const QByteArray number = QByteArray::number(h.intInvNumber);
    PGresult* r = RawExec(c, "SELECT intInvNumber FROM tblCompanyInvData WHERE intCompInvDataID = 1 FOR UPDATE", {});
    const QByteArray next = QByteArray::number(std::atoi(PQgetvalue(r, 0, 0)) + 1);
    PQclear(r);
    r = RawExec(c, "SELECT 1 FROM tblInvDataHeader WHERE intInvNumber = $1 LIMIT 1", {number.constData()});
    if (PQntuples(r) != 0) qFatal("raw: the number is taken");
    PQclear(r);
    PQclear(RawExec(c, "UPDATE tblCompanyInvData SET intInvNumber = $1 WHERE intCompInvDataID = 1", {next.constData()}));
    const QByteArray year = QByteArray::number(date.year()), month = QByteArray::number(date.month());
    PQclear(RawExec(c, "INSERT INTO tblReport(intReportYear,intReportMonth,dbLbrTotal,dbMatTotal) VALUES($1,$2,5000,2500) "
                       "ON CONFLICT (intReportYear,intReportMonth) DO UPDATE SET "
                       "dbLbrTotal = COALESCE(tblReport.dbLbrTotal, 0) + excluded.dbLbrTotal,"
                       "dbMatTotal = COALESCE(tblReport.dbMatTotal, 0) + excluded.dbMatTotal",
                    {year.constData(), month.constData()}));
    const QByteArray company = h.strCustCmpnyName.toUtf8(), name = h.strCustFullName.toUtf8(),
                     type = h.strInvName.toUtf8(), notes = document.strInvNotes.toUtf8(), day = h.strInvDate.toUtf8();
    const char* header[] = {number.constData(), company.constData(), name.constData(), type.constData(),
                            notes.constData(), "-1", "0", "-1", "5000", "2500", "7500", day.constData()};
    const int formats[] = {0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
    const int lengths[] = {0, 0, 0, 0, int(notes.size()), 0, 0, 0, 0, 0, 0, 0};
    PQclear(PQexecParams(c, "INSERT INTO tblInvDataHeader(intInvNumber,strCustCmpnyName,strCustFullName,strInvName,"
                            "strInvNotes,strPaidInFull,strRecurring,strSavedToReport,dbLbrTotal,dbMatTotal,dbInvTotal,"
                            "strInvDate) VALUES($1,$2,$3,$4,$5,$6,$7,$8,$9,$10,$11,$12)",
                         12, nullptr, header, lengths, formats, 0));
    // Prepared once per connection, as the store's statements are.
    static bool prepared = false;
    if (!prepared)
        PQclear(PQprepare(c, "raw_lines",
                          "INSERT INTO tblInvData(intInvNumber,strPrcItemName,strPrcItmQuantity,strLabTax,strMatTax,"
                          "dbLbrPrc,dbMatPrc) SELECT $1,i,q,lt,mt,lp,mp FROM unnest($2::text[],$3::text[],$4::text[],"
                          "$5::text[],$6::double precision[],$7::double precision[]) WITH ORDINALITY "
                          "AS line(i,q,lt,mt,lp,mp,n) ORDER BY n",
                          7, nullptr));
    prepared = true;
    std::vector<QByteArray> columns[6];
    for (const TInvLine& line : document.lines) {
        columns[0].push_back(line.strPrcItemName.toUtf8());
        columns[1].push_back(line.strPrcItmQuantity.toUtf8());
        columns[2].push_back(line.strLabTax.toUtf8());
        columns[3].push_back(line.strMatTax.toUtf8());
        columns[4].push_back(line.strLbrPrc.toUtf8());
        columns[5].push_back(line.strMatPrc.toUtf8());
    }
    QByteArray arrays[6];
    for (int i = 0; i < 6; ++i) arrays[i] = RawArray(columns[i]);
    const char* values[] = {number.constData(), arrays[0].constData(), arrays[1].constData(), arrays[2].constData(),
                            arrays[3].constData(), arrays[4].constData(), arrays[5].constData()};
    r = PQexecPrepared(c, "raw_lines", 7, values, nullptr, nullptr, 0);
    if (PQresultStatus(r) != PGRES_COMMAND_OK) qFatal("raw lines: %s", PQresultErrorMessage(r));
    PQclear(r);
    raw.run("COMMIT");
}

void BenchDocuments(const Raw& raw)
{
    const QDate today = QDate::currentDate();
    std::vector<double> save, rawSave, load, rawLoad;
    for (int run = -1; run < 15; ++run) {
        int number = GetNextInvNumber();
        QElapsedTimer timer;
        timer.start();
        {
            // The editor's save of a new paid invoice, without the saving notice.
            DbConnection connection;
            SaveDocumentWithLedger(connection, MakeDocument(number), NewSavedData(), false);
        }
        const double stored = double(timer.nsecsElapsed()) / 1e6;
        const int loadNumber = number;
        number = GetNextInvNumber();
        timer.restart();
        RawSave(raw, MakeDocument(number), today);
        const double rawStored = double(timer.nsecsElapsed()) / 1e6;

        timer.restart();
        if (LoadDocument(loadNumber).document.lines.size() != kLines) qFatal("the document lost lines");
        const double loaded = double(timer.nsecsElapsed()) / 1e6;
        timer.restart();
        // The header with the buyer's e-invoice data, then the lines, as the store reads them.
        raw.select(QStringLiteral("SELECT h.*, e.strBuyerCountry, e.strBuyerVatId FROM tblInvDataHeader h "
                                  "LEFT JOIN tblInvEInvoice e ON e.intInvNumber = h.intInvNumber WHERE h.intInvNumber = ?"),
                   {QString::number(loadNumber)});
        if (raw.select(QStringLiteral("SELECT strPrcItemName,strPrcItmQuantity,strLabTax,strMatTax,dbLbrPrc,dbMatPrc "
                                      "FROM tblInvData WHERE intInvNumber = ? ORDER BY intInvDataID"),
                       {QString::number(loadNumber)})
            != kLines)
            qFatal("the raw read lost lines");
        const double rawLoaded = double(timer.nsecsElapsed()) / 1e6;
        if (run < 0) continue;
        save.push_back(stored);
        rawSave.push_back(rawStored);
        load.push_back(loaded);
        rawLoad.push_back(rawLoaded);
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    auto report = [](const char* what, double ms, double rawMs) {
        const double ratio = rawMs > 0 ? ms / rawMs : 0.0;
        std::printf("server documents %s: %.2f ms (raw libpq %.2f ms, ratio %.2f, target <= 1.5%s)\n", what, ms, rawMs,
                    ratio, ratio <= 1.5 ? "" : ", MISSED");
        std::fflush(stdout);
    };
    report("save 100 lines with ledger posting, store only", median(save), median(rawSave));
    report("load 100 lines", median(load), median(rawLoad));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dataHome;
    QTemporaryDir serverState;
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    QDir().mkpath(GetTempFolder());
    SetSavingNoticeTickMs(1);

    PrivateServer server(serverState.path());
    {
        Raw admin(server.connection(QStringLiteral("postgres")));
        admin.run("CREATE DATABASE bench ENCODING 'UTF8' TEMPLATE template0");
    }
    SetServerConnectionString(server.connection(QStringLiteral("bench")));
    {
        DbConnection db;
        PrepareServerDatabase(db, QDate::currentDate());
    }
    LoadCompanyData();
    Raw raw(server.connection(QStringLiteral("bench")));
    FillTables(raw);

    {
        TfrmCustomer screen;
        bench::RunListScreenFigures(QStringLiteral("server customers"), kRows, screen, "cmboCustSearch",
                                    "txtCustSearch", "lstvCustomers", BuildCustomerQuery, QStringLiteral("bco"),
                                    RawRunner(raw));
    }
    {
        TfrmPrice screen;
        bench::RunListScreenFigures(QStringLiteral("server prices"), kRows, screen, "cmbSearchPrcItm",
                                    "txtSearchPrcItm", "lstPrice", BuildPriceQuery, QStringLiteral("b p"),
                                    RawRunner(raw));
    }
    bench::RunMaintenanceFigures(QStringLiteral("server invoice maintenance"), kRows, RawRunner(raw));
    BenchDocuments(raw);
    CloseIdleServerSessions();
    return 0;
}
