#pragma once
// Moving a business to a server: this computer's database file, every table
// and row (the document counter with them) and the company logo, copied into
// an empty server database in one transaction.
#include <QList>
#include <QString>

struct TCopiedTable {
    QString name;
    int rows = 0;
};

struct TCopySummary {
    QString target;                 // "database fennick on office-server"
    QList<TCopiedTable> tables;
    qint64 logoBytes = -1;          // -1: this computer has no logo
    // The summary as printed: one line per table, the logo, and the check.
    QString text() const;
};

// Copies the file at filePath into the server database of the connection
// string: builds the schema there, copies every table's rows with their ids,
// moves each id sequence past the copied ids, stores the logo file (if any) in
// the database, then reads every table back on both sides and compares the
// rows. All in one transaction: on any failure nothing is left on the server
// and AppError says why. A database that already holds tables of this program
// is refused and left as it is.
TCopySummary CopyDataToServer(const QString& filePath, const QString& logoPath, const QString& connectionString);
