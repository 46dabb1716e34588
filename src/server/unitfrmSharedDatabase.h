#pragma once
// The Shared Database screen (Maintenance > Shared Database...): which database
// this computer works on, and the way to a PostgreSQL server: test a
// connection, switch to the server or back to this computer's file (from the
// next start), and copy this computer's data into an empty server database.
#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct TSharedDatabaseFields;

class TfrmSharedDatabase : public QDialog {
    Q_OBJECT

public:
    explicit TfrmSharedDatabase(QWidget* parent = nullptr);

private:
    void pShowFormInformation();
    void pShowDatabaseInUse();
    TSharedDatabaseFields pFields() const;
    // Shows what is wrong with the fields and answers false, or answers true.
    bool pFieldsReady();
    void btnTestConnectionClick();
    void btnUseServerClick();
    void btnUseFileClick();
    void btnCopyToServerClick();

    QLabel* lblDbInUse = nullptr;
    QLineEdit* txtDbServer = nullptr;
    QLineEdit* txtDbPort = nullptr;
    QLineEdit* txtDbName = nullptr;
    QLineEdit* txtDbUser = nullptr;
    QLineEdit* txtDbPassword = nullptr;
    QCheckBox* ckbxShowPassword = nullptr;
    QCheckBox* ckbxRememberPassword = nullptr;
    QCheckBox* ckbxDailyServerCopy = nullptr;
    QPushButton* btnTestConnection = nullptr;
    QPushButton* btnUseServer = nullptr;
    QPushButton* btnUseFile = nullptr;
    QPushButton* btnCopyToServer = nullptr;
    QPushButton* btnHelp = nullptr;
    QPushButton* btnClose = nullptr;
};
