#include "app/unitSaveFilePicker.h"

#include "app/unitModalRunner.h"

#include <QFileDialog>
#include <QStandardPaths>

QString ChooseSaveFile(QWidget* parent, const TSaveFileRequest& request)
{
    QFileDialog dialog(parent, request.title);
    dialog.setObjectName(request.objectName);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    dialog.selectFile(request.suggestedName);
    if (RunModal(dialog) != QDialog::Accepted) return QString();
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}
