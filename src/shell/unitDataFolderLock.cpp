#include "shell/unitDataFolderLock.h"

#include "app/unitAppInfo.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

std::unique_ptr<QLockFile>& dataFolderLock()
{
    static std::unique_ptr<QLockFile> lock;
    return lock;
}

QString SystemText(int number) { return QString::fromLocal8Bit(std::strerror(number)); }

// Why the lock file cannot be made: the lock file asks for what QLockFile
// asked for (a new file), and the system answers why not.
QString WhyLockCannotBeCreated(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd >= 0) {
        ::close(fd);
        ::unlink(name.constData());
        return QStringLiteral("the system refused it");
    }
    return SystemText(errno);
}

bool ProcessExists(qint64 pid)
{
    if (pid <= 0) return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

// Who holds the lock, by the lines QLockFile writes: pid, program, host name,
// machine id. The machine id, when both sides have one, decides whether the
// holder is this computer (host names repeat across a network).
TLockHolder DescribeHolder(const QString& path)
{
    TLockHolder holder;
    if (!QLockFile(path).getLockInfo(&holder.pid, &holder.host, &holder.program)) return holder;
    QByteArray machineId;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        const QList<QByteArray> lines = file.readAll().split('\n');
        machineId = lines.value(3).trimmed();
    }
    bool sameComputer = holder.host.isEmpty() || holder.host == QSysInfo::machineHostName();
    const QByteArray ourMachineId = QSysInfo::machineUniqueId();
    if (!machineId.isEmpty() && !ourMachineId.isEmpty()) sameComputer = machineId == ourMachineId;
    if (!sameComputer)
        holder.place = TLockHolderPlace::OtherComputer;
    else
        holder.place = ProcessExists(holder.pid) ? TLockHolderPlace::ThisComputerRunning : TLockHolderPlace::ThisComputerGone;
    return holder;
}

} // namespace

QString GetLockFilePath() { return GetDataFolder() + QStringLiteral("/Fennick.lock"); }

TLockAttempt TakeDataFolderLock(TLockHolder& holder, QString& reason)
{
    std::unique_ptr<QLockFile>& lock = dataFolderLock();
    const QString path = GetLockFilePath();
    if (lock && lock->fileName() == path && lock->isLocked()) return TLockAttempt::Taken;
    // The lock is held for as long as the program runs, so it never goes stale
    // by age; a holder on this computer that is gone is taken over by QLockFile.
    lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (lock->tryLock(100)) return TLockAttempt::Taken;
        if (lock->error() != QLockFile::LockFailedError) {
            lock.reset();
            reason = WhyLockCannotBeCreated(path);
            return TLockAttempt::CannotCreate;
        }
        // The holder may have let go between the try and the look.
        if (!QFileInfo::exists(path)) continue;
        holder = DescribeHolder(path);
        lock.reset();
        return TLockAttempt::HeldByOther;
    }
    lock.reset();
    holder = DescribeHolder(path);
    return TLockAttempt::HeldByOther;
}

bool TakeOverDataFolderLock(QString& reason)
{
    std::unique_ptr<QLockFile>& lock = dataFolderLock();
    const QString path = GetLockFilePath();
    lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    if (QFileInfo::exists(path) && !lock->removeStaleLockFile() && QFileInfo::exists(path)) {
        // QLockFile removes the file only when no process has it locked.
        const bool writable = ::access(QFile::encodeName(GetDataFolder()).constData(), W_OK) == 0;
        reason = QStringLiteral("the lock file cannot be removed (%1)")
                     .arg(writable ? QStringLiteral("its holder still has it locked") : SystemText(errno));
        lock.reset();
        return false;
    }
    if (lock->tryLock(100)) return true;
    reason = lock->error() == QLockFile::LockFailedError ? QStringLiteral("another copy took the lock in the meantime")
                                                         : WhyLockCannotBeCreated(path);
    lock.reset();
    return false;
}

void ReleaseDataFolderLock() { dataFolderLock().reset(); }
