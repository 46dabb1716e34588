#include "company/unitCompanyLogoStore.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "db/DbConnection.h"
#include "db/unitDatabaseTarget.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

QByteArray ReadServerLogo(DbConnection& db)
{
    DbStatement read = db.prepare(QStringLiteral("SELECT blobLogoJpeg FROM tblCompanyLogo WHERE intCompanyLogoID = 1;"));
    return read.step() ? read.columnBlob(0) : QByteArray();
}

void WriteServerLogo(DbConnection& db, const QByteArray& jpeg)
{
    db.execute(QStringLiteral("DELETE FROM tblCompanyLogo;"));
    if (!jpeg.isEmpty())
        db.execute(QStringLiteral("INSERT INTO tblCompanyLogo(intCompanyLogoID,blobLogoJpeg) VALUES(1,?);"), {jpeg});
}

QString LogoFileForPrinting()
{
    if (!UsesServer()) return GetLogoPath();
    const QString path = QDir(GetTempFolder()).filePath(QStringLiteral("CmpLogo.jpg"));
    QFile::remove(path);
    DbConnection db;
    const QByteArray jpeg = ReadServerLogo(db);
    db.close();
    if (jpeg.isEmpty()) return path;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size() || !file.commit())
        throw AppError(QStringLiteral("Cannot write the company logo %1: %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString()));
    return path;
}
