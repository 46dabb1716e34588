#pragma once
// A file layer for the database engine that fails on purpose: a thin wrapper
// over the engine's default layer, registered under its own name, that lets
// the Nth write or the Nth sync after arming fail with an I/O error or "disk
// full". Used by the reliability trials to show that every store operation
// either happens completely or leaves the file exactly as it was.
#include <QByteArray>
#include <QString>

namespace faultvfs {

enum class Step { Write, Sync };
enum class Failure { IoError, DiskFull };

struct Fault {
    Step step = Step::Write;
    Failure failure = Failure::IoError;
    // Transient: only the Nth call fails. Persistent: the Nth and every later
    // call of that step fail until disarmed (the engine cannot even roll back
    // through the file, and the next connection has to finish the job).
    bool persistent = false;
};

// The name the layer is registered under.
QByteArray LayerName();
// Registers the layer (once) and makes every connection opened from now on use it.
void Install();
// The Nth (1-based) call of the fault's step from now on fails.
void Arm(const Fault& fault, int n);
// No call fails any more.
void Disarm();
// True when a call failed since the last Arm.
bool Fired();
// The calls of a step counted since the last Arm.
int Calls(Step step);
// "write I/O error", "sync disk full (persistent)" and the like.
QString Describe(const Fault& fault);

} // namespace faultvfs
