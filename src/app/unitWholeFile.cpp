#include "app/unitWholeFile.h"

#include <QFileDevice>

bool WriteWholeFile(QFileDevice& file, const QByteArray& bytes)
{
    qint64 written = 0;
    while (written < bytes.size()) {
        // After a short write the next one fails and sets the reason.
        const qint64 step = file.write(bytes.constData() + written, bytes.size() - written);
        if (step <= 0) return false;
        written += step;
    }
    return file.flush();
}
