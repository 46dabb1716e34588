#include "common/FaultVfs.h"

#include "db/DbConnection.h"

#include <sqlite3.h>

namespace faultvfs {
namespace {

constexpr char kName[] = "fennick-faults";

struct State {
    bool armed = false;
    Fault fault;
    int failAt = 0;
    int writes = 0;
    int syncs = 0;
    bool fired = false;
};

State& state()
{
    static State s;
    return s;
}

sqlite3_vfs* realVfs = nullptr;
sqlite3_vfs faultVfs;

// The wrapped file: our header, followed in the same allocation by the real
// layer's file.
struct FaultFile {
    sqlite3_file base;
    sqlite3_file* real;
};

sqlite3_file* realOf(sqlite3_file* file) { return reinterpret_cast<FaultFile*>(file)->real; }

// Counts a call of the step; returns the error code when this call must fail.
int failureFor(Step step)
{
    State& s = state();
    int& count = step == Step::Write ? s.writes : s.syncs;
    ++count;
    if (!s.armed || s.fault.step != step) return SQLITE_OK;
    if (count == s.failAt || (s.fault.persistent && count > s.failAt)) {
        s.fired = true;
        if (s.fault.failure == Failure::DiskFull) return SQLITE_FULL;
        return step == Step::Write ? SQLITE_IOERR_WRITE : SQLITE_IOERR_FSYNC;
    }
    return SQLITE_OK;
}

int fileClose(sqlite3_file* f)
{
    sqlite3_file* real = realOf(f);
    return real->pMethods ? real->pMethods->xClose(real) : SQLITE_OK;
}
int fileRead(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset)
{
    return realOf(f)->pMethods->xRead(realOf(f), buffer, amount, offset);
}
int fileWrite(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset)
{
    if (const int rc = failureFor(Step::Write)) return rc;
    return realOf(f)->pMethods->xWrite(realOf(f), buffer, amount, offset);
}
int fileTruncate(sqlite3_file* f, sqlite3_int64 size) { return realOf(f)->pMethods->xTruncate(realOf(f), size); }
// The trials run in one process that never loses power, so a sync that
// succeeds has nothing to add; skipping the real one keeps the many runs quick.
// (The crash trial uses the engine's own layer with real syncs.)
int fileSync(sqlite3_file*, int)
{
    return failureFor(Step::Sync);
}
int fileSize(sqlite3_file* f, sqlite3_int64* size) { return realOf(f)->pMethods->xFileSize(realOf(f), size); }
int fileLock(sqlite3_file* f, int level) { return realOf(f)->pMethods->xLock(realOf(f), level); }
int fileUnlock(sqlite3_file* f, int level) { return realOf(f)->pMethods->xUnlock(realOf(f), level); }
int fileCheckReserved(sqlite3_file* f, int* out)
{
    return realOf(f)->pMethods->xCheckReservedLock(realOf(f), out);
}
int fileControl(sqlite3_file* f, int op, void* arg) { return realOf(f)->pMethods->xFileControl(realOf(f), op, arg); }
int fileSectorSize(sqlite3_file* f) { return realOf(f)->pMethods->xSectorSize(realOf(f)); }
int fileDevice(sqlite3_file* f) { return realOf(f)->pMethods->xDeviceCharacteristics(realOf(f)); }
int fileShmMap(sqlite3_file* f, int page, int size, int extend, void volatile** out)
{
    return realOf(f)->pMethods->xShmMap(realOf(f), page, size, extend, out);
}
int fileShmLock(sqlite3_file* f, int offset, int n, int flags)
{
    return realOf(f)->pMethods->xShmLock(realOf(f), offset, n, flags);
}
void fileShmBarrier(sqlite3_file* f) { realOf(f)->pMethods->xShmBarrier(realOf(f)); }
int fileShmUnmap(sqlite3_file* f, int deleteFlag) { return realOf(f)->pMethods->xShmUnmap(realOf(f), deleteFlag); }
int fileFetch(sqlite3_file* f, sqlite3_int64 offset, int amount, void** out)
{
    return realOf(f)->pMethods->xFetch(realOf(f), offset, amount, out);
}
int fileUnfetch(sqlite3_file* f, sqlite3_int64 offset, void* page)
{
    return realOf(f)->pMethods->xUnfetch(realOf(f), offset, page);
}

const sqlite3_io_methods kMethods = {
    3,           fileClose,    fileRead,     fileWrite,      fileTruncate,   fileSync,
    fileSize,    fileLock,     fileUnlock,   fileCheckReserved, fileControl, fileSectorSize,
    fileDevice,  fileShmMap,   fileShmLock,  fileShmBarrier, fileShmUnmap,   fileFetch,
    fileUnfetch,
};

int vfsOpen(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags)
{
    auto* wrapped = reinterpret_cast<FaultFile*>(file);
    wrapped->real = reinterpret_cast<sqlite3_file*>(wrapped + 1);
    wrapped->real->pMethods = nullptr;
    const int rc = realVfs->xOpen(realVfs, name, wrapped->real, flags, outFlags);
    wrapped->base.pMethods = wrapped->real->pMethods ? &kMethods : nullptr;
    return rc;
}
int vfsDelete(sqlite3_vfs*, const char* name, int syncDir) { return realVfs->xDelete(realVfs, name, syncDir); }
int vfsAccess(sqlite3_vfs*, const char* name, int flags, int* out)
{
    return realVfs->xAccess(realVfs, name, flags, out);
}
int vfsFullPathname(sqlite3_vfs*, const char* name, int size, char* out)
{
    return realVfs->xFullPathname(realVfs, name, size, out);
}
void* vfsDlOpen(sqlite3_vfs*, const char* name) { return realVfs->xDlOpen(realVfs, name); }
void vfsDlError(sqlite3_vfs*, int size, char* out) { realVfs->xDlError(realVfs, size, out); }
void (*vfsDlSym(sqlite3_vfs*, void* handle, const char* symbol))(void)
{
    return realVfs->xDlSym(realVfs, handle, symbol);
}
void vfsDlClose(sqlite3_vfs*, void* handle) { realVfs->xDlClose(realVfs, handle); }
int vfsRandomness(sqlite3_vfs*, int size, char* out) { return realVfs->xRandomness(realVfs, size, out); }
int vfsSleep(sqlite3_vfs*, int micro) { return realVfs->xSleep(realVfs, micro); }
int vfsCurrentTime(sqlite3_vfs*, double* out) { return realVfs->xCurrentTime(realVfs, out); }
int vfsLastError(sqlite3_vfs*, int size, char* out) { return realVfs->xGetLastError(realVfs, size, out); }
int vfsCurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* out) { return realVfs->xCurrentTimeInt64(realVfs, out); }

} // namespace

QByteArray LayerName() { return QByteArray(kName); }

void Install()
{
    if (!realVfs) {
        realVfs = sqlite3_vfs_find(nullptr);
        faultVfs = sqlite3_vfs{};
        faultVfs.iVersion = 2;
        faultVfs.szOsFile = int(sizeof(FaultFile)) + realVfs->szOsFile;
        faultVfs.mxPathname = realVfs->mxPathname;
        faultVfs.zName = kName;
        faultVfs.xOpen = vfsOpen;
        faultVfs.xDelete = vfsDelete;
        faultVfs.xAccess = vfsAccess;
        faultVfs.xFullPathname = vfsFullPathname;
        faultVfs.xDlOpen = vfsDlOpen;
        faultVfs.xDlError = vfsDlError;
        faultVfs.xDlSym = vfsDlSym;
        faultVfs.xDlClose = vfsDlClose;
        faultVfs.xRandomness = vfsRandomness;
        faultVfs.xSleep = vfsSleep;
        faultVfs.xCurrentTime = vfsCurrentTime;
        faultVfs.xGetLastError = vfsLastError;
        faultVfs.xCurrentTimeInt64 = vfsCurrentTimeInt64;
        sqlite3_vfs_register(&faultVfs, 0);
    }
    DbConnection::SetFileLayerName(LayerName());
}

void Arm(const Fault& fault, int n)
{
    State& s = state();
    s = State{};
    s.armed = true;
    s.fault = fault;
    s.failAt = n;
}

void Disarm() { state().armed = false; }
bool Fired() { return state().fired; }
int Calls(Step step) { return step == Step::Write ? state().writes : state().syncs; }

QString Describe(const Fault& fault)
{
    QString text = fault.step == Step::Write ? QStringLiteral("write") : QStringLiteral("sync");
    text += fault.failure == Failure::DiskFull ? QStringLiteral(" disk full") : QStringLiteral(" I/O error");
    if (fault.persistent) text += QStringLiteral(" (persistent)");
    return text;
}

} // namespace faultvfs
