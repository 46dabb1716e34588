#pragma once
// The e-mail screen: sends one message from the company's mailbox to the
// recipient in the hand-over record, optionally with the file it names attached.
// A send that succeeds closes the screen; a failed one leaves it open with
// everything typed, so the user can try again. "Cancel" during a send stops the
// send; otherwise it closes the screen. Closing empties the hand-over record and
// deletes every file in the temp folder.
#include <QDialog>
#include <atomic>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TfrmEmail : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEmail(QWidget* parent = nullptr);
    ~TfrmEmail() override;

    void done(int result) override;
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void pShowFormInformation();
    void FormShow();
    void pShowButtonSend();
    void pSetSending(bool sending);
    void btnSendEmailClick();
    void FormClose();

    QLabel* lblEmailAddress;
    QLineEdit* txtEmailAddress;
    QLabel* lblEmailSubject;
    QLineEdit* txtEmailSubject;
    QLabel* lblEmailBody;
    QPlainTextEdit* txtEmailBody;
    QPushButton* btnSendEmail;
    QPushButton* btnCancelEmail;

    bool m_sending = false;
    std::atomic<bool> m_cancelRequested{false};
    bool m_closed = false;
};
