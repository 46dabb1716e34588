#include "editor/unitfrmInvoiceNotes.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmInvoiceNotes::TfrmInvoiceNotes(const QString& typeName, int number, const QString& notes,
                                   QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmInvoiceNotes"));
    setWindowTitle(typeName + QLatin1Char(' ') + QString::number(number) + QStringLiteral(" Notes"));

    txtInvoiceNotes = new QPlainTextEdit(this);
    txtInvoiceNotes->setObjectName(QStringLiteral("txtInvoiceNotes"));
    txtInvoiceNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtInvoiceNotes->setToolTip(QStringLiteral("Add notes to ") + typeName);
    // Stored notes separate their lines with CR LF; the box works with LF.
    QString shown = notes;
    txtInvoiceNotes->setPlainText(shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    btnNotesOK = new QPushButton(QStringLiteral("OK"), this);
    btnNotesOK->setObjectName(QStringLiteral("btnNotesOK"));
    btnNotesOK->setToolTip(QStringLiteral("Add notes to ") + typeName);
    btnNotesCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnNotesCancel->setObjectName(QStringLiteral("btnNotesCancel"));
    btnNotesCancel->setToolTip(QStringLiteral("Cancel changes to notes"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnNotesOK);
    buttons->addWidget(btnNotesCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtInvoiceNotes);
    layout->addLayout(buttons);

    // Enter belongs to the text, so neither button is a default button.
    btnNotesOK->setAutoDefault(false);
    btnNotesCancel->setAutoDefault(false);
    connect(btnNotesOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnNotesCancel, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(520, 360);
    txtInvoiceNotes->setFocus();
}

QString TfrmInvoiceNotes::notes() const
{
    return txtInvoiceNotes->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}
