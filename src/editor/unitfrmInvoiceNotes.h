#pragma once
// The notes dialog of the document editor: one large text box for the
// document's free notes. The editor reads notes() after an accepted run.
#include <QDialog>
#include <QString>

class QPlainTextEdit;
class QPushButton;

class TfrmInvoiceNotes : public QDialog {
    Q_OBJECT
public:
    // typeName and number make the caption ("Invoice 1001 Notes"); notes is the
    // text the box starts with.
    TfrmInvoiceNotes(const QString& typeName, int number, const QString& notes,
                     QWidget* parent = nullptr);

    QString notes() const;

private:
    QPlainTextEdit* txtInvoiceNotes;
    QPushButton* btnNotesOK;
    QPushButton* btnNotesCancel;
};
