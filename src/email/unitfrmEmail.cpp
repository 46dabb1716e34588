#include "email/unitfrmEmail.h"

#include "app/unitAppInfo.h"
#include "app/unitCleanFolder.h"
#include "app/unitDialogs.h"
#include "app/unitErrorHandler.h"
#include "app/unitLimitedEdit.h"
#include "app/unitScreenParts.h"
#include "company/unitCompanyData.h"
#include "email/unitEmailData.h"
#include "email/unitEmailSend.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>

TfrmEmail::TfrmEmail(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmEmail"));

    txtEmailAddress = new QLineEdit(this);
    txtEmailAddress->setObjectName(QStringLiteral("txtEmailAddress"));
    SetTypedLimit(txtEmailAddress, 100);
    lblEmailAddress = MakeCaption(QStringLiteral("Email Address"), txtEmailAddress, this);

    txtEmailSubject = new QLineEdit(this);
    txtEmailSubject->setObjectName(QStringLiteral("txtEmailSubject"));
    SetTypedLimit(txtEmailSubject, 100);
    lblEmailSubject = MakeCaption(QStringLiteral("Email Subject"), txtEmailSubject, this);

    txtEmailBody = new QPlainTextEdit(this);
    txtEmailBody->setObjectName(QStringLiteral("txtEmailBody"));
    txtEmailBody->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtEmailBody->setTabChangesFocus(true);
    lblEmailBody = MakeCaption(QStringLiteral("Email Body"), txtEmailBody, this);

    btnSendEmail = new QPushButton(QStringLiteral("Send Email"), this);
    btnSendEmail->setObjectName(QStringLiteral("btnSendEmail"));
    btnSendEmail->setAutoDefault(false);
    btnCancelEmail = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancelEmail->setObjectName(QStringLiteral("btnCancelEmail"));
    btnCancelEmail->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(lblEmailAddress, 0, 0);
    grid->addWidget(txtEmailAddress, 0, 1);
    grid->addWidget(lblEmailSubject, 1, 0);
    grid->addWidget(txtEmailSubject, 1, 1);
    grid->addWidget(lblEmailBody, 2, 0, 1, 2);
    grid->addWidget(txtEmailBody, 3, 0, 1, 2);
    grid->setRowStretch(3, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnSendEmail);
    buttons->addWidget(btnCancelEmail);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    resize(560, 400);

    connect(txtEmailAddress, &QLineEdit::textChanged, this, [this] { pShowButtonSend(); });
    connect(txtEmailSubject, &QLineEdit::textChanged, this, [this] { pShowButtonSend(); });
    connect(txtEmailBody, &QPlainTextEdit::textChanged, this, [this] { pShowButtonSend(); });
    connect(btnSendEmail, &QPushButton::clicked, this, [this] { btnSendEmailClick(); });
    connect(btnCancelEmail, &QPushButton::clicked, this, [this] {
        // During a send "Cancel" stops the send; otherwise it closes the screen.
        if (m_sending) {
            m_cancelRequested = true;
            return;
        }
        RunGuarded([this] { reject(); });
    });

    // The screen is created immediately before its one modal run, so it is
    // filled here, ready when it shows.
    FormShow();
}

TfrmEmail::~TfrmEmail()
{
    // A screen destroyed without being closed still hands back an empty record
    // and leaves no attachment behind.
    if (!m_closed) FormClose();
}

void TfrmEmail::pShowFormInformation()
{
    setWindowTitle(QStringLiteral("Email Form"));
    txtEmailAddress->setToolTip(QStringLiteral("Send to Email address"));
    txtEmailSubject->setToolTip(QStringLiteral("Subject line of the email"));
    txtEmailBody->setToolTip(QStringLiteral("Body or content of the email"));
    btnSendEmail->setToolTip(QStringLiteral("Send the email"));
    btnCancelEmail->setToolTip(QStringLiteral("Cancel the email"));
}

void TfrmEmail::FormShow()
{
    pShowFormInformation();
    txtEmailAddress->setText(recEmailData.strRecipientAddress);
    txtEmailSubject->setText(InitialEmailSubject(recCompanyData, recEmailData));
    txtEmailBody->setPlainText(recCompanyData.strCompEmailBody);
    pShowButtonSend();
}

void TfrmEmail::pShowButtonSend()
{
    btnSendEmail->setEnabled(!m_sending && CanSendEmail(txtEmailAddress->text(), txtEmailSubject->text(),
                                                        txtEmailBody->toPlainText()));
}

// While the message travels the window keeps painting, but nothing in it can
// be changed and it cannot be closed; only "Cancel" can be pressed, to stop the send.
void TfrmEmail::pSetSending(bool sending)
{
    m_sending = sending;
    txtEmailAddress->setReadOnly(sending);
    txtEmailSubject->setReadOnly(sending);
    txtEmailBody->setReadOnly(sending);
    // "Cancel" stays pressable: during a send it stops the send.
    if (sending) {
        btnSendEmail->setEnabled(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
        pShowButtonSend();
    }
}

void TfrmEmail::btnSendEmailClick()
{
    if (m_sending) return;
    bool sent = false;
    RunGuarded([this, &sent] {
        m_cancelRequested = false;
        pSetSending(true);
        const auto endSending = qScopeGuard([this] { pSetSending(false); });
        try {
            SendEmail(recCompanyData, recEmailData, txtEmailAddress->text(), txtEmailSubject->text(),
                      txtEmailBody->toPlainText(), kDefaultSmtpTimeoutSeconds, &m_cancelRequested);
            sent = true;
        } catch (const SmtpSendCancelled&) {
            // The user stopped it: nothing to report, everything typed stays.
        }
    });
    // Cancel pressed after the whole message had gone out did not stop it: the
    // server took the message, and the user is told so.
    if (sent && m_cancelRequested)
        RunGuarded([] {
            ShowInformation(QStringLiteral("The e-mail was sent: the mail server had already received the whole "
                                           "message when Cancel was pressed."));
        });
    // A sent message closes the screen; after a failure (shown above) or a
    // cancel it stays open with address, subject, body and attachment.
    if (sent) done(QDialog::Accepted);
}

void TfrmEmail::FormClose()
{
    m_closed = true;
    ClearEmailData();
    CleanTempFolder();
}

void TfrmEmail::done(int result)
{
    if (m_sending) return;
    if (!m_closed) FormClose();
    QDialog::done(result);
}

void TfrmEmail::reject()
{
    if (m_sending) return;
    QDialog::reject();
}

void TfrmEmail::closeEvent(QCloseEvent* event)
{
    if (m_sending) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
