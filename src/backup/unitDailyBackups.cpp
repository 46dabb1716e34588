#include "backup/unitDailyBackups.h"

#include "app/unitAppInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

// The day in a daily backup's name, or an invalid date for any other file.
QDate DayOfDailyBackup(const QString& name)
{
    static const QRegularExpression daily(QStringLiteral(R"(^Fennick-(\d{4}-\d{2}-\d{2})\.db$)"));
    const QRegularExpressionMatch match = daily.match(name);
    return match.hasMatch() ? QDate::fromString(match.captured(1), QStringLiteral("yyyy-MM-dd")) : QDate();
}

struct TDailyBackup {
    QDate day;
    QString path;
};

// Oldest first.
QList<TDailyBackup> DailyBackups(const QString& path = GetBackupsFolder())
{
    QList<TDailyBackup> backups;
    const QDir folder(path);
    for (const QString& name : folder.entryList(QDir::Files)) {
        const QDate day = DayOfDailyBackup(name);
        if (day.isValid()) backups.append({day, folder.filePath(name)});
    }
    std::sort(backups.begin(), backups.end(), [](const TDailyBackup& a, const TDailyBackup& b) { return a.day < b.day; });
    return backups;
}


} // namespace

void RemoveOldDailyBackups(const QString& folder, const QDate& today)
{
    QList<TDailyBackup> counted = DailyBackups(folder);
    counted.erase(std::remove_if(counted.begin(), counted.end(), [&today](const TDailyBackup& b) { return b.day > today; }),
                  counted.end());
    while (counted.size() > kDailyBackupsKept) {
        const TDailyBackup oldest = counted.takeFirst();
        QFile::remove(oldest.path);
        QFile::remove(QDir(folder).filePath(DailyLogoFileName(oldest.day)));
    }
}

namespace {

QString DailyBackupFailure(const QString& target, const QString& reason, int number)
{
    return QStringLiteral("The automatic daily backup could not be saved as %1: %2 (error %3).\n"
                          "The database %4 is unchanged, and the backups already in %5 were kept.")
        .arg(QDir::toNativeSeparators(target), reason)
        .arg(number)
        .arg(QDir::toNativeSeparators(GetDatabasePath()), QDir::toNativeSeparators(GetBackupsFolder()));
}

} // namespace

QString DailyBackupFileName(const QDate& day)
{
    return QStringLiteral("Fennick-%1.db").arg(day.toString(QStringLiteral("yyyy-MM-dd")));
}

QString DailyLogoFileName(const QDate& day)
{
    return QStringLiteral("CmpLogo-%1.jpg").arg(day.toString(QStringLiteral("yyyy-MM-dd")));
}

QString RunDailyBackup(const QDate& today)
{
    if (!QFileInfo::exists(GetDatabasePath())) return {};
    const QString folder = GetBackupsFolder();
    const QString target = QDir(folder).filePath(DailyBackupFileName(today));
    // The folder is the owner's alone: the copies hold the mail password.
    if (!QFileInfo(folder).isDir() && ::mkdir(QFile::encodeName(folder).constData(), S_IRWXU) != 0) {
        const int number = errno;
        throw AppError(DailyBackupFailure(
            target, QStringLiteral("the folder cannot be made (%1)").arg(QString::fromLocal8Bit(std::strerror(number))),
            number));
    }
    try {
        CopyDatabaseFile(GetDatabasePath(), target);
    } catch (const TBackupError& error) {
        throw AppError(DailyBackupFailure(target, error.text(), error.number()));
    }
    RemoveOldDailyBackups(folder, today);
    return target;
}

QString NewestDailyBackup(const QDate& today)
{
    const QList<TDailyBackup> backups = DailyBackups();
    for (auto it = backups.crbegin(); it != backups.crend(); ++it)
        if (it->day <= today) return it->path;
    return backups.isEmpty() ? QString() : backups.last().path;
}
