#pragma once
// Shared fixtures of the tests: a fresh data folder per test program, scripted
// answers for the message boxes, and the main() every test program uses.
#include "app/unitDialogs.h"

#include <QApplication>
#include <QList>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <functional>
#include <memory>

// Points XDG_DATA_HOME at a fresh temporary folder for the life of the object.
class TestDataFolder {
public:
    TestDataFolder();
    ~TestDataFolder();
    QString base() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
};

// Answers message boxes from a queue and records every box shown. A question
// with no queued answer fails the running test and is answered Cancel.
class ScriptedMessages {
public:
    ScriptedMessages();
    ~ScriptedMessages();
    void queue(MessageAnswer answer) { m_answers.push_back(answer); }
    const QList<MessageRequest>& shown() const { return m_shown; }
    QStringList texts() const;
    int pendingAnswers() const { return int(m_answers.size()); }
    void clear() { m_shown.clear(); m_answers.clear(); }

private:
    std::deque<MessageAnswer> m_answers;
    QList<MessageRequest> m_shown;
};

// Pins the regional settings every display text follows (Qt's default locale)
// for the life of the object, then returns to English (United States), the
// setting every test program starts with.
class ScopedLocale {
public:
    explicit ScopedLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    explicit ScopedLocale(const char* name) : ScopedLocale(QLocale(QLatin1String(name))) {}
    ~ScopedLocale() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;
};

// Runs pending events until the predicate holds or the time is up.
template <typename Predicate>
bool WaitUntil(Predicate predicate, int timeoutMs = 5000)
{
    return QTest::qWaitFor(predicate, timeoutMs);
}

class QAbstractItemModel;
// Reads a long list to its end, as scrolling to its last row does (the lists
// read their rows in pages as the view asks for more); returns its row count.
int ReadWholeList(QAbstractItemModel* model);

// The message of the program's error the work stopped with; empty when it finished.
QString ErrorMessageOf(const std::function<void()>& work);

int RunFennickTest(int argc, char** argv, QObject* testObject);

#define FENNICK_TEST_MAIN(TestClass)                                  \
    int main(int argc, char** argv)                                   \
    {                                                                 \
        TestClass test;                                               \
        return RunFennickTest(argc, argv, &test);                     \
    }
