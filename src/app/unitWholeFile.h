#pragma once
// Writing a whole block of bytes to a file. QIODevice::write() may write only
// part of the bytes (a disk that fills up part way) without saying why; this
// writes on until every byte is written or the system refuses, so that a
// failure leaves the system's own reason ("No space left on device") in the
// file's errorString().
#include <QByteArray>

class QFileDevice;

// True when every byte was written and flushed.
bool WriteWholeFile(QFileDevice& file, const QByteArray& bytes);
