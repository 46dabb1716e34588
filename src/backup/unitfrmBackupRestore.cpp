#include "backup/unitfrmBackupRestore.h"

#include "app/unitAppInfo.h"
#include "app/unitDialogs.h"
#include "app/unitModalRunner.h"
#include "backup/unitBackupRestoreData.h"
#include "company/unitCompanyData.h"
#include "company/unitEInvoiceSettings.h"

#include <QDir>
#include <QFileDialog>

namespace {

// The chosen path, or an empty text when the user cancelled or chose nothing
// on the file system.
QString RunPicker(QFileDialog& dialog)
{
    // The program's own dialog: the same on every desktop, and answerable in tests.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setDirectory(QDir::homePath());
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

} // namespace

void BackupData()
{
    const QString folder = PickBackupFolder();
    if (folder.isEmpty()) {
        ShowPlainMessage(QStringLiteral("Backup of company database cancelled"));
        return;
    }
    try {
        BackupDatabaseTo(folder);
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
    try {
        RestoreDatabaseFrom(chosen);
    } catch (const TRestoreRefused& refused) {
        ShowInformation(refused.message() + QLatin1Char('\n') + cancelled);
        return false;
    } catch (const TBackupError& error) {
        ShowInformation(error.message());
        return false;
    }
    LoadCompanyData();
    PrepareEInvoiceData();   // an older file gets the e-invoice tables it lacks
    ShowInformation(QStringLiteral("Restore of company database successful\nThe database it replaced is kept as ") +
                    QDir::toNativeSeparators(GetBeforeRestorePath()));
    return true;
}
