#pragma once
// Reads a PDF back as a person would see it, through poppler's tools: the
// words of each page with their boxes in points (pdftotext -bbox), and the
// document information (pdfinfo). One inch is 72 points.
#include <QList>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTest>
#include <cmath>
#include <optional>

struct PdfWord {
    QString text;
    double xMin = 0;
    double yMin = 0;
    double xMax = 0;
    double yMax = 0;
    double leftInches() const { return xMin / 72.0; }
    double topInches() const { return yMin / 72.0; }
};

using PdfPageWords = QList<PdfWord>;

inline QString RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        QTest::qFail(qPrintable(program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(process.readAllStandardError())),
                     __FILE__, __LINE__);
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QString DecodeEntities(QString text)
{
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&#39;"), QStringLiteral("'"))
        .replace(QStringLiteral("&apos;"), QStringLiteral("'"))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text;
}

inline QList<PdfPageWords> ReadPdfWords(const QString& path)
{
    const QString html = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    static const QRegularExpression pageOrWord(QStringLiteral(
        R"re(<page\b|<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="([-\d.]+)">(.*?)</word>)re"));
    QList<PdfPageWords> pages;
    for (auto it = pageOrWord.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.captured(0).startsWith(QStringLiteral("<page"))) {
            pages.append(PdfPageWords());
            continue;
        }
        if (pages.isEmpty()) continue;
        pages.last().append({DecodeEntities(match.captured(5)), match.captured(1).toDouble(), match.captured(2).toDouble(),
                             match.captured(3).toDouble(), match.captured(4).toDouble()});
    }
    return pages;
}

inline QMap<QString, QString> ReadPdfInfo(const QString& path)
{
    QMap<QString, QString> info;
    const QString text = RunTool(QStringLiteral("pdfinfo"), {path});
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const int colon = line.indexOf(QLatin1Char(':'));
        if (colon > 0) info.insert(line.left(colon), line.mid(colon + 1).trimmed());
    }
    return info;
}

// The first word of a phrase whose words follow each other on one line.
inline std::optional<PdfWord> FindPhrase(const PdfPageWords& page, const QString& phrase)
{
    const QStringList tokens = phrase.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const PdfWord& first : page) {
        if (first.text != tokens.value(0)) continue;
        const PdfWord* current = &first;
        bool complete = true;
        for (int index = 1; index < tokens.size() && complete; ++index) {
            // The nearest word to the right on the same line must be the next token.
            const PdfWord* next = nullptr;
            for (const PdfWord& candidate : page) {
                if (std::abs(candidate.yMin - current->yMin) > 0.5 || candidate.xMin <= current->xMin) continue;
                if (!next || candidate.xMin < next->xMin) next = &candidate;
            }
            complete = next && next->text == tokens[index];
            current = next;
        }
        if (complete) return first;
    }
    return std::nullopt;
}

inline bool PageContains(const PdfPageWords& page, const QString& phrase) { return FindPhrase(page, phrase).has_value(); }

inline bool PageHasText(const PdfPageWords& page, const QString& fragment)
{
    for (const PdfWord& word : page)
        if (word.text.contains(fragment)) return true;
    return false;
}

// Positions compare to within half a point.
#define COMPARE_INCHES(actual, expected)                                                                           \
    QVERIFY2(std::abs((actual) - (expected)) < 0.5 / 72.0,                                                         \
             qPrintable(QStringLiteral("%1 in, expected %2 in").arg(actual).arg(expected)))

// Words whose boxes cross by more than a sliver, and words beyond the paper.
inline QStringList LayoutFaults(const QList<PdfPageWords>& pages)
{
    QStringList faults;
    for (int p = 0; p < pages.size(); ++p) {
        const PdfPageWords& words = pages[p];
        for (int i = 0; i < words.size(); ++i) {
            const PdfWord& a = words[i];
            if (a.xMin < 0 || a.yMin < 0 || a.xMax > 8.5 * 72 || a.yMax > 11.0 * 72)
                faults << QStringLiteral("page %1: \"%2\" beyond the paper").arg(p + 1).arg(a.text);
            for (int j = i + 1; j < words.size(); ++j) {
                const PdfWord& b = words[j];
                const double across = std::min(a.xMax, b.xMax) - std::max(a.xMin, b.xMin);
                const double down = std::min(a.yMax, b.yMax) - std::max(a.yMin, b.yMin);
                if (across > 0.5 && down > 0.5)
                    faults << QStringLiteral("page %1: \"%2\" over \"%3\"").arg(p + 1).arg(a.text, b.text);
            }
        }
    }
    return faults;
}
