#pragma once
// Writing a whole block of bytes to a file. QIODevice::write() may write only
// part of the bytes (a disk that fills up part way) without saying why; this
// writes on until every byte is written or the system refuses, so that a
// failure leaves the system's own reason ("No space left on device") in the
// file's errorString().
#include <QByteArray>
#include <QString>

class QFileDevice;

// True when every byte was written and flushed.
bool WriteWholeFile(QFileDevice& file, const QByteArray& bytes);

// Writes the bytes to the file at path in one step: the file appears whole or
// not at all (written beside it, then renamed). Throws AppError "Cannot write
// the file <path>: <the system's reason>" when it cannot.
void SaveWholeFile(const QString& path, const QByteArray& bytes);
