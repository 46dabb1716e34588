#pragma once
// The dialog that asks where to save a file the program writes (a PDF, an
// e-invoice): the desktop-independent Qt dialog, named so a test can drive it,
// run through RunModal, starting in the user's documents folder.
#include <QString>

class QWidget;

struct TSaveFileRequest {
    QString objectName;      // "dlgSavePdf"
    QString title;           // the dialog's caption
    QString filter;          // "PDF files (*.pdf)"
    QString defaultSuffix;   // "pdf": added when the user types a name without one
    QString suggestedName;   // "Invoice1001.pdf"
};

// The chosen path, or an empty text when the user cancelled.
QString ChooseSaveFile(QWidget* parent, const TSaveFileRequest& request);
