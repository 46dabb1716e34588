#pragma once
// The figures of a long list read in pages, the same on the file and on the
// server: the first screenful after the list's query is set, each key typed
// into its search box, and the longest page while it is scrolled to its end.
// The list's side is timed until its first screenful is read and every cell of
// it the view shows turned into text, as the view asks for them (a hidden
// column is never asked for); the raw side runs the query
// of those rows (the list's query with a LIMIT) and reads every column as
// text. The screens show no row count, so none is added to either side.
#include "app/unitPagedListModel.h"
#include "db/unitListQuery.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QString>
#include <QTableView>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace bench {

// "NAME: 1.2 ms (raw 1.1 ms, ratio 1.09, target <= 1.3)", ", MISSED)" above the target.
inline void PrintLine(const QString& name, double value, const char* unit, const char* rawWord, double raw,
                      double target)
{
    const double ratio = raw > 0 ? value / raw : 0.0;
    std::printf("%s: %.2f %s (%s %.2f %s, ratio %.2f, target <= %g%s)\n", qPrintable(name), value, unit, rawWord, raw,
                unit, ratio, target, ratio <= target ? "" : ", MISSED");
    std::fflush(stdout);
}

// "NAME: 12.0 ms (target <= 50 ms)": a time with a limit of its own.
inline void PrintLimit(const QString& name, double ms, double limitMs)
{
    std::printf("%s: %.1f ms (target <= %g ms%s)\n", qPrintable(name), ms, limitMs, ms <= limitMs ? "" : ", MISSED");
    std::fflush(stdout);
}

inline TPagedListModel& PagedModelOf(const QTableView& view) { return *qobject_cast<TPagedListModel*>(view.model()); }

// Waits (running the event loop, where a page cut short goes on) until the
// list holds its first screenful or every row, then reads each cell of that
// screenful in the view's shown columns, as the view does.
inline void AwaitFirstScreenful(const QTableView& view)
{
    TPagedListModel& model = PagedModelOf(view);
    while (model.rowCount() < TPagedListModel::kFirstPageRows && model.reading())
        QCoreApplication::processEvents();
    const int rows = std::min(model.rowCount(), TPagedListModel::kFirstPageRows);
    static volatile qsizetype sink;
    qsizetype characters = 0;
    for (int column = 0; column < model.columnCount(); ++column) {
        if (view.isColumnHidden(column)) continue;
        for (int row = 0; row < rows; ++row)
            characters += model.data(model.index(row, column), Qt::DisplayRole).toString().size();
    }
    sink = characters;
}

// The median of runs, list and raw taking turns so that load falls on both
// alike. Each side is timed right after its own prepare, so neither finds the
// memory caches warmed by the other's reading of the same rows.
struct Timed {
    double listMs = 0;
    double rawMs = 0;
};
inline Timed MedianTurns(const std::function<void()>& prepare, const std::function<void()>& list,
                         const std::function<void()>& raw, int runs = 11)
{
    std::vector<double> listTimes, rawTimes;
    for (int run = 0; run < runs; ++run) {
        // The raw side first: the list's action, last, leaves the screen as it chose.
        if (prepare) prepare();
        QElapsedTimer timer;
        timer.start();
        raw();
        rawTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (prepare) prepare();
        timer.restart();
        list();
        listTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(listTimes.begin(), listTimes.end());
    std::sort(rawTimes.begin(), rawTimes.end());
    return {listTimes[listTimes.size() / 2], rawTimes[rawTimes.size() / 2]};
}

// The first screenful after setQuery() (which the screen's own action runs)
// against rawFirst(query of those rows).
inline void FirstScreenful(const QString& name, const QTableView& view, const std::function<void()>& prepare,
                           const std::function<void()>& action, const std::function<TListQuery()>& query,
                           const std::function<void(const QString& sql, const QVariantList& values)>& rawRun)
{
    const Timed t = MedianTurns(
        prepare,
        [&] {
            action();
            AwaitFirstScreenful(view);
        },
        [&] {
            const TListQuery q = query();
            rawRun(q.firstRowsSql(TPagedListModel::kFirstPageRows), q.values);
        });
    PrintLine(name, t.listMs, "ms", "raw", t.rawMs, 1.3);
}

// Each key of typed, typed one by one after clear(): the list's first
// screenful of the new result against the raw query of those rows.
inline void SearchAsYouType(const QString& name, const QTableView& view, const QString& typed,
                            const std::function<void()>& clear, const std::function<void(QChar)>& typeKey,
                            const std::function<TListQuery(const QString&)>& query,
                            const std::function<void(const QString& sql, const QVariantList& values)>& rawRun)
{
    for (int length = 1; length <= typed.size(); ++length) {
        const QString before = typed.left(length - 1);
        const TListQuery q = query(typed.left(length));
        const Timed t = MedianTurns(
            [&] {
                clear();
                for (QChar c : before) typeKey(c);
                AwaitFirstScreenful(view);
            },
            [&] {
                typeKey(typed.at(length - 1));
                AwaitFirstScreenful(view);
            },
            [&] { rawRun(q.firstRowsSql(TPagedListModel::kFirstPageRows), q.values); });
        PrintLine(QStringLiteral("%1 key %2 \"%3\", %4 rows shown")
                      .arg(name)
                      .arg(length)
                      .arg(typed.left(length))
                      .arg(view.model()->rowCount()),
                  t.listMs, "ms", "raw", t.rawMs, 1.3);
    }
}

// Scrolls the list to its end one page at a time, as the view asks for more;
// prints the longest page, and returns the rows read.
inline int LongestPage(const QString& name, TPagedListModel& model)
{
    double longest = 0;
    const QModelIndex root;
    while (model.canFetchMore(root) || model.reading()) {
        QElapsedTimer timer;
        timer.start();
        if (model.reading())
            QCoreApplication::processEvents();
        else
            model.fetchMore(root);
        longest = std::max(longest, double(timer.nsecsElapsed()) / 1e6);
    }
    PrintLimit(QStringLiteral("%1, longest page scrolling to row %2").arg(name).arg(model.rowCount()), longest, 50);
    return model.rowCount();
}

// The three figures of a list screen whose search choice 0 lists every row
// and choice 1 searches the text typed: the first screenful of every row, each
// key of typed, and the longest page scrolling to the end. Lines begin with
// name ("customers", "server customers").
template <typename Screen>
void RunListScreenFigures(const QString& name, int rows, Screen& screen, const char* comboName,
                          const char* searchName, const char* listName,
                          const std::function<TListQuery(int, const QString&)>& buildQuery, const QString& typed,
                          const std::function<void(const QString& sql, const QVariantList& values)>& rawRun)
{
    screen.show();
    QApplication::processEvents();
    auto* combo = screen.template findChild<QComboBox*>(QLatin1String(comboName));
    auto* search = screen.template findChild<QLineEdit*>(QLatin1String(searchName));
    auto* list = screen.template findChild<QTableView*>(QLatin1String(listName));

    // "All ...": switched away first (untimed), then chosen.
    FirstScreenful(
        QStringLiteral("%1 first screenful of %2 rows").arg(name).arg(rows), *list,
        [&] { combo->setCurrentIndex(1); }, [&] { combo->setCurrentIndex(0); },
        [&] { return buildQuery(0, QString()); }, rawRun);

    combo->setCurrentIndex(1);
    SearchAsYouType(
        QStringLiteral("%1 search as you type in %2 rows,").arg(name).arg(rows), *list, typed,
        [&] {
            QSignalBlocker blocker(search);
            search->clear();
        },
        [&](QChar c) { search->insert(QString(c)); }, [&](const QString& text) { return buildQuery(1, text); },
        rawRun);

    combo->setCurrentIndex(0);
    LongestPage(QStringLiteral("%1 %2 rows").arg(name).arg(rows), PagedModelOf(*list));
}

} // namespace bench
