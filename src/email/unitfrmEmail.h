#pragma once
// The e-mail screen: sends one message from the company's mailbox to the
// recipient in the hand-over record, optionally with the file it names attached.
// Closing the screen, after a send, a failed send or a cancel, empties the
// hand-over record and deletes every file in the temp folder.
#include <QDialog>

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
    bool m_closed = false;
};
