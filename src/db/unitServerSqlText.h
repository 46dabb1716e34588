#pragma once
// What the server engine does to statement texts and values so that the
// stores' SQL and stored forms stay those of the file. Plain functions, shared
// by the program and the server engine plug-in.
#include <QByteArray>
#include <QString>
#include <QStringList>

// The statement text for the server: the first statement only (the rest after
// a top-level ";" is ignored, as on the file), every ? placeholder outside
// quotes and comments numbered $1, $2, ... in order. count receives how many.
QByteArray NumberPlaceholders(const QString& sql, int* count = nullptr);

// True where NumberPlaceholders() would give only blanks: nothing but blanks
// before the first ";". Checked on every prepare, so without building the text.
bool IsEmptyStatement(const QString& sql);

// A REAL as the file writes it when it is read or stored as text: 15
// significant digits, always with a decimal point ("22.0", "0.0725",
// "1.0e+20").
QString RealAsStoredText(double value);

// The same from the server's text of a double precision value (its shortest
// exact form): that text itself where it already is the file's form, which is
// most amounts, and the general conversion otherwise.
QString RealAsStoredText(const char* serverText, int length);

// RealAsStoredText() as UTF-8 into out, reusing its memory where it can.
void RealAsStoredUtf8(const char* serverText, int length, QByteArray& out);

// The texts as the server's array literal ({"a","b \"c\""}), every element
// quoted, so that any text (empty, "NULL", with commas, braces, quotes or
// backslashes) arrives as itself. For sending many rows in one statement
// (unnest of one array per column).
QString ServerArrayLiteral(const QStringList& elements);

// The number a stored text begins with, as the file reads a text column as a
// number: leading blanks skipped, the longest number at the start taken, 0 when
// there is none. An integer is the sign and digits at the start ("12.9" is
// 12, "1e3" is 1); a real the longest decimal number there ("1e3" is 1000).
qint64 LeadingInteger(const char* text, int length);
double LeadingReal(const char* text, int length);

// The server's text of a number column (integer or double precision) as a
// double, exactly as strtod reads it; most amounts without strtod's cost.
double ServerNumber(const char* text, int length);
