#include "server/unitfrmSharedDatabase.h"

#include "app/AppError.h"
#include "app/unitAppInfo.h"
#include "app/unitDialogs.h"
#include "app/unitErrorHandler.h"
#include "app/unitScreenParts.h"
#include "app/unitfrmSaving.h"
#include "backup/unitDailyBackups.h"
#include "backup/unitServerDailyCopy.h"
#include "db/unitDatabaseTarget.h"
#include "db/unitServerEngine.h"
#include "server/unitCopyToServer.h"
#include "server/unitSharedDatabaseRules.h"

#include <QCheckBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

QLineEdit* newField(QWidget* parent, const char* name, int maxLength)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(maxLength);
    return edit;
}

QPushButton* newButton(QWidget* parent, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

TfrmSharedDatabase::TfrmSharedDatabase(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TfrmSharedDatabase"));

    lblDbInUse = NewPlainLabel(this);
    lblDbInUse->setObjectName(QStringLiteral("lblDbInUse"));
    lblDbInUse->setWordWrap(true);

    txtDbServer = newField(this, "txtDbServer", 255);
    txtDbPort = newField(this, "txtDbPort", 5);
    txtDbPort->setValidator(new QIntValidator(1, 65535, txtDbPort));
    txtDbPort->setPlaceholderText(QStringLiteral("5432"));
    txtDbName = newField(this, "txtDbName", 63);
    txtDbUser = newField(this, "txtDbUser", 63);
    txtDbPassword = newField(this, "txtDbPassword", 255);
    txtDbPassword->setEchoMode(QLineEdit::Password);
    ckbxShowPassword = new QCheckBox(QStringLiteral("S&how"), this);
    ckbxShowPassword->setObjectName(QStringLiteral("ckbxShowPassword"));
    ckbxRememberPassword = new QCheckBox(QStringLiteral("&Remember the password on this computer"), this);
    ckbxRememberPassword->setObjectName(QStringLiteral("ckbxRememberPassword"));

    ckbxDailyServerCopy =
        new QCheckBox(QStringLiteral("&Keep a daily copy of the shared database on this computer"), this);
    ckbxDailyServerCopy->setObjectName(QStringLiteral("ckbxDailyServerCopy"));

    auto* server = new QGroupBox(QStringLiteral("Database server"), this);
    auto* form = new QFormLayout(server);
    form->addRow(MakeCaption(QStringLiteral("&Server:"), txtDbServer, server), txtDbServer);
    form->addRow(MakeCaption(QStringLiteral("P&ort:"), txtDbPort, server), txtDbPort);
    form->addRow(MakeCaption(QStringLiteral("&Database:"), txtDbName, server), txtDbName);
    form->addRow(MakeCaption(QStringLiteral("&User:"), txtDbUser, server), txtDbUser);
    auto* passwordRow = new QHBoxLayout;
    passwordRow->addWidget(txtDbPassword, 1);
    passwordRow->addWidget(ckbxShowPassword);
    form->addRow(MakeCaption(QStringLiteral("&Password:"), txtDbPassword, server), passwordRow);
    form->addRow(QString(), ckbxRememberPassword);

    btnTestConnection = newButton(this, "btnTestConnection", QStringLiteral("&Test Connection"));
    btnCopyToServer = newButton(this, "btnCopyToServer", QStringLiteral("&Copy to Server"));
    btnUseServer = newButton(this, "btnUseServer", QStringLiteral("Use &Server"));
    btnUseFile = newButton(this, "btnUseFile", QStringLiteral("Use This Computer's &File"));
    btnHelp = newButton(this, "btnHelp", QStringLiteral("Help"));
    btnClose = newButton(this, "btnClose", QStringLiteral("Close"));

    auto* serverButtons = new QHBoxLayout;
    serverButtons->addWidget(btnTestConnection);
    serverButtons->addWidget(btnCopyToServer);
    serverButtons->addStretch(1);
    auto* switchButtons = new QHBoxLayout;
    switchButtons->addWidget(btnUseServer);
    switchButtons->addWidget(btnUseFile);
    switchButtons->addStretch(1);
    switchButtons->addWidget(btnHelp);
    switchButtons->addWidget(btnClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblDbInUse);
    layout->addWidget(server);
    layout->addLayout(serverButtons);
    layout->addWidget(ckbxDailyServerCopy);
    layout->addLayout(switchButtons);

    connect(ckbxShowPassword, &QCheckBox::toggled, this, [this](bool shown) {
        txtDbPassword->setEchoMode(shown ? QLineEdit::Normal : QLineEdit::Password);
    });
    // The setting is the seat's own, kept at once in its settings file.
    connect(ckbxDailyServerCopy, &QCheckBox::toggled, this,
            [](bool on) { RunGuarded([on] { WriteDailyServerCopySetting(on); }); });
    connect(btnTestConnection, &QPushButton::clicked, this, [this] { RunGuarded([this] { btnTestConnectionClick(); }); });
    connect(btnUseServer, &QPushButton::clicked, this, [this] { RunGuarded([this] { btnUseServerClick(); }); });
    connect(btnUseFile, &QPushButton::clicked, this, [this] { RunGuarded([this] { btnUseFileClick(); }); });
    connect(btnCopyToServer, &QPushButton::clicked, this, [this] { RunGuarded([this] { btnCopyToServerClick(); }); });
    connect(btnHelp, &QPushButton::clicked, this, [] { RunGuarded(OpenHelpFile); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);

    pShowFormInformation();
    {
        const QSignalBlocker quiet(ckbxDailyServerCopy);
        ckbxDailyServerCopy->setChecked(ReadDailyServerCopySetting());
    }
    // The seat's setting fills the fields; the server named for this run
    // (--database) when there is no setting.
    QString connection = ReadSeatConnectionString();
    if (connection.isEmpty()) connection = ServerConnectionString();
    if (!connection.isEmpty()) {
        TSharedDatabaseFields fields;
        RunGuarded([&] { fields = FieldsOf(connection); });
        txtDbServer->setText(fields.server);
        txtDbPort->setText(fields.port);
        txtDbName->setText(fields.database);
        txtDbUser->setText(fields.user);
    }
}

void TfrmSharedDatabase::pShowFormInformation()
{
    setWindowTitle(QStringLiteral("Shared Database"));
    txtDbServer->setToolTip(QStringLiteral("Name or address of the computer the PostgreSQL server runs on"));
    txtDbPort->setToolTip(QStringLiteral("Port the server listens on (empty: 5432)"));
    txtDbName->setToolTip(QStringLiteral("Name of the database on the server"));
    txtDbUser->setToolTip(QStringLiteral("Your user name on the server (empty: your name on this computer)"));
    txtDbPassword->setToolTip(QStringLiteral("Your password on the server; never written to the settings file"));
    ckbxShowPassword->setToolTip(QStringLiteral("Show the password as typed"));
    ckbxRememberPassword->setToolTip(
        QStringLiteral("Keep the password in your password file (%1), readable by you alone")
            .arg(QDir::toNativeSeparators(GetPasswordFilePath())));
    ckbxDailyServerCopy->setToolTip(
        QStringLiteral("When this computer is the first to close %1 on a day, it saves a copy of the whole shared "
                       "database (mail password included) in %2; the last %3 are kept")
            .arg(GetProductName(), QDir::toNativeSeparators(GetServerCopiesFolder()))
            .arg(kDailyBackupsKept));
    btnTestConnection->setToolTip(QStringLiteral("Connect to the server now and say what was found"));
    btnCopyToServer->setToolTip(QStringLiteral("Copy this computer's data into the empty database on the server"));
    btnUseServer->setToolTip(QStringLiteral("Work on the shared database from the next start"));
    btnUseFile->setToolTip(QStringLiteral("Work on this computer's file from the next start"));
    btnHelp->setToolTip(QStringLiteral("Help"));
    btnClose->setToolTip(QStringLiteral("Close"));
    pShowDatabaseInUse();
}

void TfrmSharedDatabase::pShowDatabaseInUse()
{
    const QString now = UsesServer() ? QStringLiteral("the shared %1").arg(ServerDisplayName(ServerConnectionString()))
                                     : QStringLiteral("this computer's file (%1)").arg(QDir::toNativeSeparators(GetDatabasePath()));
    const QString setting = ReadSeatConnectionString();
    const QString next = setting.isEmpty() ? QStringLiteral("this computer's file")
                                           : QStringLiteral("the shared %1").arg(ServerDisplayName(setting));
    lblDbInUse->setText(QStringLiteral("%1 works on %2.\nFrom its next start: %3.").arg(GetProductName(), now, next));
}

TSharedDatabaseFields TfrmSharedDatabase::pFields() const
{
    return {txtDbServer->text(), txtDbPort->text(), txtDbName->text(), txtDbUser->text(), txtDbPassword->text()};
}

bool TfrmSharedDatabase::pFieldsReady()
{
    const QString problem = FieldsProblem(pFields());
    if (problem.isEmpty()) return true;
    ShowInformation(problem);
    return false;
}

void TfrmSharedDatabase::btnTestConnectionClick()
{
    if (!pFieldsReady()) return;
    ShowInformation(TestSharedDatabase(pFields()));
}

void TfrmSharedDatabase::btnUseServerClick()
{
    if (!pFieldsReady()) return;
    const TSharedDatabaseFields fields = pFields();
    // A seat is switched only to a server it can reach now.
    const QString found = TestSharedDatabase(fields);
    if (ckbxRememberPassword->isChecked() && !fields.password.isEmpty()) RememberPassword(fields);
    WriteSeatConnectionString(ConnectionStringOf(fields));
    pShowDatabaseInUse();
    QString message = found + QStringLiteral("\n\n") + UseServerMessage(fields);
    if (!fields.password.isEmpty() && !ckbxRememberPassword->isChecked())
        message += QStringLiteral("\n\nThe password was not remembered: at the start, the server's password must be in "
                                  "your password file (%1) or in PGPASSWORD.")
                       .arg(QDir::toNativeSeparators(GetPasswordFilePath()));
    ShowInformation(message);
}

void TfrmSharedDatabase::btnUseFileClick()
{
    WriteSeatConnectionString(QString());
    pShowDatabaseInUse();
    ShowInformation(UseFileMessage());
}

void TfrmSharedDatabase::btnCopyToServerClick()
{
    if (!pFieldsReady()) return;
    const TSharedDatabaseFields fields = pFields();
    const QString where = ServerDisplayName(ConnectionStringOf(fields));
    if (AskYesNoCancel(QStringLiteral("Copy every table of this computer's data and the company logo into the %1? "
                                      "That database must be empty; nothing on this computer changes.")
                           .arg(where))
        != MessageAnswer::Yes)
        return;
    TCopySummary summary;
    {
        TSavingNoticeScope notice(QStringLiteral("Copying Data to the Server..."));
        summary = CopyDataToServer(GetDatabasePath(), GetLogoPath(), ConnectionStringOf(fields, true));
    }
    ShowInformation(summary.text() + QStringLiteral("\n\nUse Server makes this computer work on it from the next start."));
}
