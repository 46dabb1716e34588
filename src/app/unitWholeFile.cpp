#include "app/unitWholeFile.h"

#include "app/AppError.h"

#include <QDir>
#include <QFileDevice>
#include <QSaveFile>

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

void SaveWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !WriteWholeFile(file, bytes) || !file.commit())
        throw AppError(
            QStringLiteral("Cannot write the file %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
}
