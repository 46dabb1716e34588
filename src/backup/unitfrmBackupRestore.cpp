#include "backup/unitfrmBackupRestore.h"

#include "app/unitAppInfo.h"
#include "app/unitDialogs.h"
#include "app/unitModalRunner.h"
#include "app/unitRegional.h"
#include "backup/unitBackupRestoreData.h"
#include "db/unitFeatureTables.h"
#include "backup/unitDailyBackups.h"
#include "backup/unitServerBackup.h"
#include "db/unitDatabaseTarget.h"
#include "db/unitServerEngine.h"
#include "app/unitfrmSaving.h"
#include "company/unitCompanyData.h"
#include "company/unitEInvoiceSettings.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

// The chosen path, or an empty text when the user cancelled or chose nothing
// on the file system.
QString RunPicker(QFileDialog& dialog, const QString& startFolder = QDir::homePath())
{
    // The program's own dialog: the same on every desktop, and answerable in tests.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setDirectory(startFolder);
    if (RunModal(dialog) != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return {};
    const QString path = chosen.first();
    if (path.isEmpty() || !QDir::isAbsolutePath(path)) return {};
    return QDir::cleanPath(path);
}

QString PickBackupFolder()
{
    QFileDialog dialog(nullptr, QStringLiteral("Backup Company Database"));
    dialog.setObjectName(QLatin1String(kBackupPickerName));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Backup"));
    return RunPicker(dialog);
}

QString PickRestoreFile()
{
    // The second line of the title names the file to look for; the dialog shows
    // it where its file filter stands, with every file listed.
    const QString secondLine = QStringLiteral("Database File Name: ") + GetDatabaseFileName();
    QFileDialog dialog(nullptr, QStringLiteral("Restore Company Database"));
    dialog.setObjectName(QLatin1String(kRestorePickerName));
    dialog.setAccessibleDescription(secondLine);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, true);   // no new-folder button
    dialog.setNameFilter(secondLine + QStringLiteral(" (*)"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Restore"));
    return RunPicker(dialog);
}

// At a start that met a damaged database: any backup file will do (the daily
// ones have dated names), beginning in Backups/.
QString PickRescueFile()
{
    QFileDialog dialog(nullptr, QStringLiteral("Restore Company Database"));
    dialog.setObjectName(QLatin1String(kRescuePickerName));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly, true);
    dialog.setNameFilter(QStringLiteral("Database files (*.db);;All files (*)"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Restore"));
    const QString backups = GetBackupsFolder();
    return RunPicker(dialog, QFileInfo(backups).isDir() ? backups : QDir::homePath());
}

QString Native(const QString& path) { return QDir::toNativeSeparators(path); }

// What became of the database a restore replaced, one line each.
QString DescribeKeptFiles(const TRestoreOutcome& outcome)
{
    QString text;
    if (outcome.keptPath.isEmpty()) return text;
    if (outcome.liveProblem.isEmpty())
        text = QStringLiteral("The database it replaced is kept as ") + Native(outcome.keptPath);
    else
        text = QStringLiteral("The database it replaced %1 (%2), so it was not copied: it is kept as it was, as %3")
                   .arg(outcome.liveDamaged ? QStringLiteral("was damaged") : QStringLiteral("could not be copied"),
                        outcome.liveProblem, Native(outcome.keptPath));
    if (!outcome.earlierKeptPath.isEmpty())
        text += QStringLiteral("\nThe database kept by the restore before is now ") + Native(outcome.earlierKeptPath);
    return text;
}

// Restore Data on a seat that works on a server: the other seats are warned
// about first, the server's content is kept in the data folder, then the file
// is loaded in one transaction.
bool RestoreServerData(const QString& chosen)
{
    const QString cancelled = QStringLiteral("Restore of company database cancelled");
    const QString where = ServerDisplayName(ServerConnectionString());
    const int others = OtherSeatsConnected();
    if (others > 0
        && AskChoice(QStringLiteral("%1 other %2 connected to the %3. A restore replaces everything on the server: "
                                    "what they have open and not yet saved cannot be saved afterwards, and they see "
                                    "the restored data from their next step. Best ask them to close %4 first.")
                         .arg(others)
                         .arg(others == 1 ? QStringLiteral("seat is") : QStringLiteral("seats are"), where,
                              GetProductName()),
                     QStringLiteral("&Restore Anyway"), QString(), QStringLiteral("Cancel"), MessageAnswer::Cancel)
               != MessageAnswer::Yes) {
        ShowPlainMessage(cancelled);
        return false;
    }
    TServerRestoreOutcome outcome;
    try {
        TSavingNoticeScope notice(QStringLiteral("Restoring the Shared Database..."));
        outcome = RestoreServerFrom(chosen);
    } catch (const TRestoreRefused& refused) {
        ShowInformation(refused.message() + QLatin1Char('\n') + cancelled);
        return false;
    } catch (const AppError& error) {
        ShowInformation(error.message() + QStringLiteral("\nThe %1 is unchanged.").arg(where));
        return false;
    }
    LoadCompanyData();
    PrepareEInvoiceData();
    QString text = QStringLiteral("Restore of company database successful\nThe content the %1 held before is kept as %2")
                       .arg(where, Native(outcome.keptPath));
    if (!outcome.keptLogoPath.isEmpty()) text += QStringLiteral(", its logo as ") + Native(outcome.keptLogoPath);
    if (!outcome.logoRestored)
        text += QStringLiteral("\nNo company logo (%1) lies beside the restored file: the server's logo was kept.")
                    .arg(BackupLogoFileName());
    ShowInformation(text);
    return true;
}

} // namespace

void BackupData()
{
    const QString folder = PickBackupFolder();
    if (folder.isEmpty()) {
        ShowPlainMessage(QStringLiteral("Backup of company database cancelled"));
        return;
    }
    try {
        if (UsesServer()) {
            TSavingNoticeScope notice(QStringLiteral("Backing up the Shared Database..."));
            BackupServerTo(folder);
        } else {
            BackupDatabaseTo(folder);
        }
    } catch (const TBackupRefused& refused) {
        ShowInformation(refused.message() + QStringLiteral("\nBackup of company database cancelled"));
        return;
    } catch (const TBackupError& error) {
        ShowInformation(error.message());
        return;
    }
    ShowInformation(QStringLiteral("Backup of company database successful"));
}

bool RestoreData()
{
    const QString cancelled = QStringLiteral("Restore of company database cancelled");
    const QString chosen = PickRestoreFile();
    if (chosen.isEmpty()) {
        ShowPlainMessage(cancelled);
        return false;
    }
    if (!IsDatabaseFileName(chosen)) {
        ShowPlainMessage(QStringLiteral("Database File \"") + GetDatabaseFileName() + QStringLiteral("\" not found\n") +
                         cancelled);
        return false;
    }
    if (UsesServer()) return RestoreServerData(chosen);
    TRestoreOutcome outcome;
    try {
        outcome = RestoreDatabaseFrom(chosen);
    } catch (const TRestoreRefused& refused) {
        ShowInformation(refused.message() + QLatin1Char('\n') + cancelled);
        return false;
    } catch (const TBackupError& error) {
        ShowInformation(error.message());
        return false;
    }
    LoadCompanyData();
    // An older file gets the tables of later features it lacks.
    CreateMissingFileFeatureTables();
    PrepareEInvoiceData();
    const QString kept = DescribeKeptFiles(outcome);
    ShowInformation(QStringLiteral("Restore of company database successful") +
                    (kept.isEmpty() ? QString() : QLatin1Char('\n') + kept));
    return true;
}

bool RescueDamagedDatabase(const QString& reason)
{
    for (;;) {
        const QString newest = NewestDailyBackup();
        QString text = QStringLiteral("The database file %1 is damaged and cannot be read:\n%2\n\n")
                           .arg(Native(GetDatabasePath()), reason);
        if (newest.isEmpty())
            text += QStringLiteral("There is no automatic backup in %1. You can restore a backup file you "
                                   "choose.")
                        .arg(Native(GetBackupsFolder()));
        else
            text += QStringLiteral("The newest automatic backup is %1, saved %2. You can restore it, or a "
                                   "backup file you choose.")
                        .arg(Native(newest), DisplayDateTime(QFileInfo(newest).lastModified()));
        text += QStringLiteral("\nThe damaged file is kept beside it as %1.").arg(Native(GetBeforeRestorePath()));

        const MessageAnswer answer =
            newest.isEmpty()
                ? AskChoice(text, QStringLiteral("Choose a Backup File..."), QString(), QStringLiteral("Quit"))
                : AskChoice(text, QStringLiteral("Restore the Newest Backup"), QStringLiteral("Choose a Backup File..."),
                            QStringLiteral("Quit"));
        if (answer == MessageAnswer::Cancel) return false;
        const QString chosen = (answer == MessageAnswer::Yes && !newest.isEmpty()) ? newest : PickRescueFile();
        if (chosen.isEmpty()) continue;
        try {
            const TRestoreOutcome outcome = RestoreDatabaseFrom(chosen);
            ShowInformation(QStringLiteral("The database was restored from %1.\n").arg(Native(chosen)) +
                            DescribeKeptFiles(outcome));
            return true;
        } catch (const TRestoreRefused& refused) {
            ShowInformation(QStringLiteral("%1 cannot be restored: %2").arg(Native(chosen), refused.message()));
        } catch (const TBackupError& error) {
            ShowInformation(QStringLiteral("%1 could not be restored: %2").arg(Native(chosen), error.message()));
        }
    }
}
