#pragma once
// Where the company logo lives. A seat on this computer's file keeps it as
// CmpLogo.jpg in the data folder; on a server it is kept in the database
// (tblCompanyLogo), so every seat shows and prints the same logo.
#include <QByteArray>
#include <QString>

class DbConnection;

// The logo's JPEG bytes in the server database; empty when there is none.
QByteArray ReadServerLogo(DbConnection& db);
// Stores the JPEG as the logo of the server database (empty: removes it), on
// the caller's connection and in its transaction.
void WriteServerLogo(DbConnection& db, const QByteArray& jpeg);

// The file the printed documents read the logo from: the data folder's logo on
// this computer's file; on a server the database's logo, written afresh into
// the temp folder (no file there when the database has none).
QString LogoFileForPrinting();
