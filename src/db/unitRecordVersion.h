#pragma once
// What a record looked like when a screen opened it, and the check a save makes
// against it so that two seats never overwrite each other's edits silently.
//
// A record is read by one or more SELECT statements (the record's row, and the
// rows kept beside it in other tables); the version holds every value they
// returned. A save calls checkUnchanged() inside its transaction before it
// writes: the same statements run again (on the server with FOR UPDATE, so the
// rows stay locked until the save commits) and any difference, a row gone
// included, refuses the save with an EditConflictError. After the write the
// save reads the version again (read()), so the next save of the same screen
// compares against what it wrote itself.
#include "app/AppError.h"

#include <QList>
#include <QString>
#include <QVariantList>

class DbConnection;

// One read of a record: a SELECT without a trailing semicolon, ordered when it
// returns several rows, and its values.
struct TRecordRead {
    QString sql;
    QVariantList values;
};

// A save refused because another seat changed or deleted the record after it
// was opened. Its message says so and how to see the other change.
class EditConflictError : public AppError {
public:
    using AppError::AppError;
};

// What became of the record on the other seat.
enum class EditConflictKind { Changed, Deleted, ChangedOrDeleted };
// "This customer was changed on another computer after you opened it, ...",
// what naming the record ("This customer", "The company information").
QString EditConflictMessage(const QString& what, EditConflictKind kind);

class TRecordVersion {
public:
    TRecordVersion() = default;   // nothing read: a new record, nothing to compare
    // Runs the reads on the connection and keeps what they return.
    static TRecordVersion Read(DbConnection& connection, QList<TRecordRead> reads);
    bool isEmpty() const { return m_reads.isEmpty(); }
    // What the reads returned, so a screen shows exactly the values the check
    // compares against: the rows of one read, and one value as text (NULL
    // reads as empty).
    int rowCount(int read = 0) const;
    QString text(int read, int row, int column) const;

    // Inside the save's transaction: reads the record again, locking its rows
    // on the server, and throws EditConflictError(EditConflictMessage(what, …))
    // when anything differs from what was read. The first read is the record's
    // own rows: when it returns none now, the record was deleted. Where an edit
    // too replaces those rows (under new ids), any difference reads "changed
    // or deleted".
    void checkUnchanged(DbConnection& connection, const QString& what, bool editReplacesRows = false) const;

    bool operator==(const TRecordVersion&) const = default;

private:
    using Rows = QList<QStringList>;
    static Rows readRows(DbConnection& connection, const TRecordRead& read, bool lock);

    QList<TRecordRead> m_reads;
    QList<Rows> m_rows;   // per read, every row's values as text (a NULL marked apart from empty text)
};
