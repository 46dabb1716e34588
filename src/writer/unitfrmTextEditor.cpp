#include "writer/unitfrmTextEditor.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "app/unitDialogs.h"
#include "app/unitErrorHandler.h"
#include "app/unitLimitedEdit.h"
#include "app/unitModeValues.h"
#include "app/unitScreenParts.h"
#include "printing/unitModPrintData.h"
#include "writer/unitContractWarrantyStore.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
constexpr int kTitleLimit = 45;
}

TfrmTextEditor::TfrmTextEditor(QWidget* parent)
    : QDialog(parent), m_mode(intContractWarrantyMode), m_modeName(ContractWarrantyModeName(intContractWarrantyMode))
{
    setObjectName(QStringLiteral("frmTextEditor"));
    auto* mainLayout = new QVBoxLayout(this);

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_actClose = NewToolBarAction(m_toolBar, "tlbtnClose", QStringLiteral("Close"));
    m_actSave = NewToolBarAction(m_toolBar, "tlbtnSave", QStringLiteral("Save"));
    m_actPrintPreview = NewToolBarAction(m_toolBar, "tlbtnPrintPreview", QStringLiteral("Print Preview"));
    m_actPrint = NewToolBarAction(m_toolBar, "tlbtnPrint", QStringLiteral("Print"));
    m_actHelp = NewToolBarAction(m_toolBar, "tlbtnHelp", QStringLiteral("Help"));

    txtContractWarrantyName = new QLineEdit(m_toolBar);
    txtContractWarrantyName->setObjectName(QStringLiteral("txtContractWarrantyName"));
    SetTypedLimit(txtContractWarrantyName, kTitleLimit);
    txtContractWarrantyName->setMinimumWidth(txtContractWarrantyName->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 24);
    lblContractWarrantyName = MakeCaption(QStringLiteral("   title: "), txtContractWarrantyName, m_toolBar);
    lblContractWarrantyName->setObjectName(QStringLiteral("lblContractWarrantyName"));
    m_toolBar->addWidget(lblContractWarrantyName);
    m_toolBar->addWidget(txtContractWarrantyName);
    mainLayout->addWidget(m_toolBar);

    txtTextEditor = new QPlainTextEdit(this);
    txtTextEditor->setObjectName(QStringLiteral("txtTextEditor"));
    txtTextEditor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtTextEditor->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    mainLayout->addWidget(txtTextEditor, 1);

    connect(txtTextEditor, &QPlainTextEdit::textChanged, this, [this] { RunGuarded([this] { pEnableSavebtn(); }); });
    // The title is saved together with the text, so a changed title counts as a
    // change of the writer: Save offers it and closing asks about it.
    connect(txtContractWarrantyName, &QLineEdit::textEdited, this, [this] {
        RunGuarded([this] {
            txtTextEditor->document()->setModified(true);
            pEnableSavebtn();
        });
    });
    connect(m_actClose, &QAction::triggered, this, [this] { close(); });
    connect(m_actSave, &QAction::triggered, this, [this] { RunGuarded([this] { pSaveContract(); }); });
    connect(m_actPrint, &QAction::triggered, this, [this] { RunGuarded([this] { pPrint(false); }); });
    connect(m_actPrintPreview, &QAction::triggered, this, [this] { RunGuarded([this] { pPrint(true); }); });
    connect(m_actHelp, &QAction::triggered, this, [] { RunGuarded([] { OpenHelpFile(); }); });

    resize(780, 600);

    pShowFormInformation();
    // A text that could not be read is never shown as an empty one: a save
    // would write the empty text over it. The writer says so and closes.
    if (const std::optional<QString> readError = ErrorOf([this] { pOpenContractWarranty(); })) {
        m_readFailed = true;
        txtTextEditor->document()->setModified(false);
        pEnableSavebtn();
        ShowErrorBox(QStringLiteral("The %1 could not be read, and the writer closes without saving anything: %2")
                         .arg(m_modeName, *readError));
        QTimer::singleShot(0, this, [this] { reject(); });
    }
}

TfrmTextEditor::~TfrmTextEditor() = default;

void TfrmTextEditor::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_shown) return;
    m_shown = true;
    txtTextEditor->setFocus();
}

void TfrmTextEditor::pShowFormInformation()
{
    setWindowTitle(m_modeName + QStringLiteral(" Writer"));
    txtContractWarrantyName->setToolTip(QStringLiteral("Enter a title for ") + m_modeName);
    m_actClose->setToolTip(QStringLiteral("Close"));
    m_actHelp->setToolTip(QStringLiteral("Open Help"));
    m_actPrint->setToolTip(QStringLiteral("Print ") + m_modeName);
    m_actPrintPreview->setToolTip(QStringLiteral("Print Preview ") + m_modeName);
    m_actSave->setToolTip(QStringLiteral("Save changes to ") + m_modeName);
    txtTextEditor->setToolTip(QStringLiteral("Edit ") + m_modeName);
}

void TfrmTextEditor::pOpenContractWarranty()
{
    const TContractWarrantyText stored = LoadContractWarranty(m_mode, &m_opened);
    // A longer title stored earlier is shown whole, not cut to the typing limit.
    ShowStoredText(txtContractWarrantyName, stored.strTitle);
    txtTextEditor->setPlainText(StoredTextToEditor(stored.strText));
    txtTextEditor->setFocus();
    txtTextEditor->document()->setModified(false);
    pEnableSavebtn();
}

bool TfrmTextEditor::pModified() const { return txtTextEditor->document()->isModified(); }

void TfrmTextEditor::pSetActionShown(QAction* action, bool shown)
{
    action->setEnabled(shown);
    action->setVisible(shown);
}

void TfrmTextEditor::pEnableSavebtn()
{
    pSetActionShown(m_actSave, pModified());
    pSetActionShown(m_actPrint, !txtTextEditor->document()->isEmpty());
    pSetActionShown(m_actPrintPreview, true);
}

void TfrmTextEditor::pSaveContract()
{
    if (m_readFailed)
        throw AppError(QStringLiteral("The %1 could not be read and is not saved over").arg(m_modeName));
    SaveContractWarranty(m_mode, {txtContractWarrantyName->text(), EditorTextToStored(txtTextEditor->toPlainText())},
                         &m_opened);
    // Only a save that went through clears the mark: after a failure the
    // writer still offers Save and still asks on closing.
    txtTextEditor->document()->setModified(false);
    pEnableSavebtn();
}

void TfrmTextEditor::pPrint(bool preview)
{
    // The reports read the stored title and text, not what is on screen.
    intPrintJob = m_mode == 1 ? pjContract : pjWarranty;
    if (preview)
        modPrintData.pPrintPreview();
    else
        modPrintData.pPrint();
}

bool TfrmTextEditor::pLeaveAllowed()
{
    if (!pModified() || m_readFailed) return true;
    switch (AskYesNoCancel(QStringLiteral("Save changes to ") + m_modeName + QStringLiteral("?"))) {
    case MessageAnswer::Yes: return RunGuarded([this] { pSaveContract(); });
    case MessageAnswer::No: return true;
    default: return false;
    }
}

void TfrmTextEditor::done(int result)
{
    if (!pLeaveAllowed()) return;
    QDialog::done(result);
}
