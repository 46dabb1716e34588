#include "planner/unitPlannerListModel.h"

#include "app/AppError.h"
#include "app/unitRegional.h"
#include "db/DbConnection.h"

#include <algorithm>
#include <iterator>
#include <utility>

QString PlannerListDateTime(const QDate& date, const QTime& time)
{
    const QLocale locale = DisplayLocale();
    return DisplayDate(date) + QLatin1Char(' ') + locale.toString(time, locale.timeFormat(QLocale::ShortFormat));
}

namespace {

// A stored row's block: its five texts, then its four whole numbers.
enum BlockText { blkStart, blkEnd, blkActivity, blkNote, blkPriority, blkTextCount };
enum BlockNumber { blkMasterID, blkDayOfYear, blkYear, blkActID };

QString blockText(TRowReader reader, int text)
{
    reader.skipTexts(text);
    return reader.text();
}

qint64 blockNumber(TRowReader reader, int number)
{
    reader.skipTexts(blkTextCount);
    for (int i = 0; i < number; ++i) reader.integer();
    return reader.integer();
}

// StrToDateTimeParts on a stored text's bytes: the stored form is ASCII, widened
// here without building a string; any other text is decoded first.
void readDateTimeParts(QByteArrayView utf8, QDate& date, QTime& time)
{
    char16_t wide[40];
    if (utf8.size() <= qsizetype(std::size(wide))) {
        qsizetype i = 0;
        for (; i < utf8.size() && quint8(utf8[i]) < 0x80; ++i) wide[i] = char16_t(utf8[i]);
        if (i == utf8.size()) return StrToDateTimeParts(QStringView(wide, i), date, time);
    }
    StrToDateTimeParts(QString::fromUtf8(utf8), date, time);
}

} // namespace

TActivityRow TPlannerListRow::stored() const
{
    TRowReader reader = block;
    TActivityRow row;
    row.strActStartDateTime = reader.text();
    row.strActEndDateTime = reader.text();
    row.strActivity = reader.text();
    row.strActNote = reader.text();
    row.strActPriority = reader.text();
    row.intActMasterID = reader.integer();
    row.intActDayOfYear = int(reader.integer());
    row.intActYear = int(reader.integer());
    row.intActID = reader.integer();
    return row;
}

TPlannerListResult QueryPlannerList(int listType, const QDate& selected, const TPlannerYearFlags& flags)
{
    TPlannerListResult result;
    const TDateRange range = PlannerListRange(listType, selected);
    DbConnection db;
    QList<qint64> reported;
    const bool withTime = listType == pltDay;
    // The range's rows read once per year it touches, in table order; each
    // stored row is written straight from the statement into its block.
    std::vector<TPlannerListRow>& rows = result.rows;
    for (int year = range.first.year(); range.first.isValid() && year <= range.last.year(); ++year) {
        const QDate first = std::max(range.first, QDate(year, 1, 1));
        const QDate last = std::min(range.last, QDate(year, 12, 31));
        // The range's days, and whether the calendar marks them, worked out once.
        const int firstDay = first.dayOfYear();
        std::vector<QDate> listedDays;
        for (QDate day = first; day <= last; day = day.addDays(1))
            listedDays.push_back(flags.activityOn(day) ? day : QDate());
        DbStatement statement = SelectActivityDays(db, year, firstDay, last.dayOfYear());
        while (statement.step()) {
            TPlannerListRow row;
            const int dayOfYear = statement.columnInt(5);
            const std::size_t dayIndex = std::size_t(dayOfYear - firstDay);
            if (dayIndex >= listedDays.size() || !listedDays[dayIndex].isValid()) continue;
            row.listedDay = listedDays[dayIndex];
            const QByteArrayView startText = statement.columnUtf8(0);
            const QByteArrayView endText = statement.columnUtf8(1);
            const QByteArrayView activity = statement.columnUtf8(2);
            const qint64 masterId = statement.columnInt64(4);
            TRowBlocks::Writer writer = result.blocks.append();
            writer.text(startText).text(endText).text(activity).text(statement.columnUtf8(3));
            writer.text(statement.columnUtf8(7));
            writer.integer(masterId).integer(dayOfYear).integer(statement.columnInt(6));
            writer.integer(statement.columnInt64(8));
            writer.finish();
            row.block = result.blocks.row(result.blocks.size() - 1);
            try {
                readDateTimeParts(startText, row.startDate, row.startTime);
                readDateTimeParts(endText, row.endDate, row.endTime);
                const qint64 startDay = row.startDate.toJulianDay();
                row.startKey = withTime ? startDay * 86400000 + row.startTime.msecsSinceStartOfDay() : startDay;
            } catch (const AppError& error) {
                row.readable = false;
                row.startDate = row.endDate = QDate();
                row.startTime = row.endTime = QTime();
                if (!reported.contains(masterId)) {
                    reported << masterId;
                    result.unreadable << UnreadableActivityMessage(QString::fromUtf8(activity), error.message());
                }
            }
            row.tablePosition = int(rows.size());
            rows.push_back(row);
        }
    }

    // Readable rows by start, then by listed day; equal keys keep table order.
    // Unreadable rows last, by listed day. The rows are small: sorted as they
    // are, in place, the table position making the order a stable one.
    std::sort(rows.begin(), rows.end(), [](const TPlannerListRow& a, const TPlannerListRow& b) {
        if (a.readable != b.readable) return a.readable;
        if (a.readable && a.startKey != b.startKey) return a.startKey < b.startKey;
        if (a.listedDay != b.listedDay) return a.listedDay < b.listedDay;
        return a.tablePosition < b.tablePosition;
    });
    return result;
}

void TPlannerListModel::setList(std::vector<TPlannerListRow> rows, TRowBlocks blocks)
{
    // The rows shown until now point into the blocks kept until now: those are
    // let go once the new rows are in.
    const TRowBlocks shown = std::exchange(m_blocks, std::move(blocks));
    setRows(std::move(rows));
}

void TPlannerListModel::clear()
{
    setRows({});
    m_blocks.clear();
}

QString TPlannerListModel::columnCaption(int column) const
{
    static const char* const captions[colCount] = {
        "StartDateTime", "EndDateTime", "Date",        "Activity Start", "Activity End", "Activity",
        "ActNotes",      "ActMasterID", "ActDayOfYear", "ActYear",        "Priority",     "ActID"};
    return QString::fromLatin1(captions[column]);
}

QString TPlannerListModel::cellText(int row, int column) const
{
    const TPlannerListRow& item = rowAt(row);
    switch (column) {
    case colStartDateTime: return blockText(item.block, blkStart);
    case colEndDateTime: return blockText(item.block, blkEnd);
    case colDate: return DisplayDate(item.listedDay);
    case colActivityStart:
        return item.readable ? PlannerListDateTime(item.startDate, item.startTime) : blockText(item.block, blkStart);
    case colActivityEnd:
        return item.readable ? PlannerListDateTime(item.endDate, item.endTime) : blockText(item.block, blkEnd);
    case colActivity: return blockText(item.block, blkActivity);
    case colActNotes: return blockText(item.block, blkNote);
    case colActMasterID: return QString::number(blockNumber(item.block, blkMasterID));
    case colActDayOfYear: return QString::number(blockNumber(item.block, blkDayOfYear));
    case colActYear: return QString::number(blockNumber(item.block, blkYear));
    case colPriority: return blockText(item.block, blkPriority);
    case colActID: return QString::number(blockNumber(item.block, blkActID));
    default: return QString();
    }
}
