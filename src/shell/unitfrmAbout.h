#pragma once
// The about box: a banner, a link to the maker's web site, the product
// information and "OK".
#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pShowFormInformation();

    QLabel* imgBanner;
    QLabel* lblAuthorWebsite;
    QPlainTextEdit* txtAboutInfo;
    QPushButton* btnOK;
};
