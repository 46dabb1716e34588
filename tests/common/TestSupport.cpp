#include "common/TestSupport.h"
#include <QAbstractItemModel>

#include "app/AppError.h"

#include "common/TestServer.h"
#include "db/unitServerEngine.h"

TestDataFolder::TestDataFolder() : m_previous(qgetenv("XDG_DATA_HOME"))
{
    qputenv("XDG_DATA_HOME", m_dir.path().toUtf8());
}

TestDataFolder::~TestDataFolder() { qputenv("XDG_DATA_HOME", m_previous); }

ScriptedMessages::ScriptedMessages()
{
    SetMessageAnswerer([this](const MessageRequest& request) {
        m_shown.append(request);
        if (request.kind != MessageKind::Question && request.kind != MessageKind::Choice) return MessageAnswer::Ok;
        if (m_answers.empty()) {
            QTest::qFail(qPrintable(QStringLiteral("unexpected question: ") + request.text), __FILE__, __LINE__);
            return MessageAnswer::Cancel;
        }
        const MessageAnswer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    });
}

ScriptedMessages::~ScriptedMessages() { SetMessageAnswerer({}); }

QStringList ScriptedMessages::texts() const
{
    QStringList result;
    for (const MessageRequest& request : m_shown) result << request.text;
    return result;
}

int RunFennickTest(int argc, char** argv, QObject* testObject)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Every test program starts in its own empty data folder; no test touches real data.
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    // Nor the seat settings of the account running them (a shared database there).
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
    // The program's texts under US settings, whatever the machine running the tests is set to.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    const int result = QTest::qExec(testObject, argc, argv);
    try {
        DropTestProgramDatabase();
    } catch (const std::exception& error) {
        qWarning("the test database was not dropped: %s", error.what());
    }
    CloseIdleServerSessions();
    return result;
}

int ReadWholeList(QAbstractItemModel* model)
{
    // Pages cut short by their time go on from the event loop.
    while (model->canFetchMore(QModelIndex())) {
        model->fetchMore(QModelIndex());
        QCoreApplication::processEvents();
    }
    return model->rowCount();
}

QString ErrorMessageOf(const std::function<void()>& work)
{
    try {
        work();
    } catch (const AppError& error) {
        return error.message();
    }
    return QString();
}
