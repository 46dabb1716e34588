#include "common/TestFaults.h"

#include "common/TestServer.h"

QStringList FailingTriggerStatements(const QString& name, const QString& event, const QString& table,
                                     const QString& condition, const QString& message)
{
    if (!TestRunsOnServer()) {
        return {QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 %4 BEGIN SELECT RAISE(ABORT, '%5'); END;")
                    .arg(name, event, table,
                         condition.isEmpty() ? QString() : QStringLiteral("WHEN ") + condition, message)};
    }
    return {QStringLiteral("CREATE OR REPLACE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS "
                           "$$ BEGIN RAISE EXCEPTION '%2'; END $$;")
                .arg(name, message),
            QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW %4 EXECUTE FUNCTION %1();")
                .arg(name, event, table, condition.isEmpty() ? QString() : QStringLiteral("WHEN (%1)").arg(condition))};
}

void AddFailingTrigger(const QString& name, const QString& event, const QString& table, const QString& condition,
                       const QString& message)
{
    DbConnection db;
    for (const QString& statement : FailingTriggerStatements(name, event, table, condition, message))
        db.execute(statement);
}

TWritesRefused::TWritesRefused()
{
    if (!TestRunsOnServer()) {
        m_locker.emplace();
        m_locker->execute(QStringLiteral("BEGIN EXCLUSIVE;"));
        return;
    }
    DbConnection db;
    db.execute(QStringLiteral("CREATE OR REPLACE FUNCTION refuse_writes() RETURNS trigger LANGUAGE plpgsql AS "
                              "$$ BEGIN RAISE EXCEPTION 'database is locked'; END $$;"));
    m_tables = db.tableNames();
    for (const QString& table : m_tables)
        db.execute(QStringLiteral("CREATE TRIGGER refuse_writes BEFORE INSERT OR UPDATE OR DELETE ON %1 "
                                  "FOR EACH STATEMENT EXECUTE FUNCTION refuse_writes();")
                       .arg(table));
}

TWritesRefused::~TWritesRefused()
{
    try {
        if (m_locker) {
            m_locker->execute(QStringLiteral("ROLLBACK;"));
            return;
        }
        DbConnection db;
        for (const QString& table : m_tables) db.execute(QStringLiteral("DROP TRIGGER refuse_writes ON %1;").arg(table));
    } catch (const AppError& error) {
        qWarning("the writes were not let through again: %s", qPrintable(error.message()));
    }
}
