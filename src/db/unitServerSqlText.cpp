#include "db/unitServerSqlText.h"

#include <charconv>

#include <QLocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

QByteArray NumberPlaceholders(const QString& sql, int* count)
{
    QString out;
    out.reserve(sql.size() + 16);
    int number = 0;
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // A quoted literal or name, a doubled quote standing for itself.
            qsizetype end = i + 1;
            while (end < n) {
                if (sql[end] == c) {
                    if (end + 1 < n && sql[end + 1] == c) {
                        end += 2;
                        continue;
                    }
                    break;
                }
                ++end;
            }
            out += sql.mid(i, end - i + 1);
            i = end;
        } else if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            const qsizetype end = sql.indexOf(QLatin1Char('\n'), i);
            const qsizetype stop = end < 0 ? n : end;
            out += sql.mid(i, stop - i);
            i = stop - 1;
        } else if (c == QLatin1Char('/') && i + 1 < n && sql[i + 1] == QLatin1Char('*')) {
            const qsizetype end = sql.indexOf(QStringLiteral("*/"), i + 2);
            const qsizetype stop = end < 0 ? n : end + 2;
            out += sql.mid(i, stop - i);
            i = stop - 1;
        } else if (c == QLatin1Char('$') && (i == 0 || !sql[i - 1].isLetterOrNumber())) {
            // A dollar-quoted body ($$ ... $$ or $tag$ ... $tag$) is taken whole.
            qsizetype tagEnd = i + 1;
            while (tagEnd < n && (sql[tagEnd].isLetterOrNumber() || sql[tagEnd] == QLatin1Char('_'))) ++tagEnd;
            if (tagEnd < n && sql[tagEnd] == QLatin1Char('$') && !(tagEnd > i + 1 && sql[i + 1].isDigit())) {
                const QString tag = sql.mid(i, tagEnd - i + 1);
                const qsizetype close = sql.indexOf(tag, tagEnd + 1);
                const qsizetype stop = close < 0 ? n : close + tag.size();
                out += sql.mid(i, stop - i);
                i = stop - 1;
            } else {
                out += c;
            }
        } else if (c == QLatin1Char('?')) {
            out += QLatin1Char('$') + QString::number(++number);
        } else if (c == QLatin1Char(';')) {
            break;
        } else {
            out += c;
        }
    }
    if (count) *count = number;
    return out.toUtf8();
}

bool IsEmptyStatement(const QString& sql)
{
    for (const QChar c : sql) {
        switch (c.unicode()) {
        case ' ': case '\t': case '\n': case '\v': case '\f': case '\r': continue;
        default: return c == QLatin1Char(';');
        }
    }
    return true;
}

QString ServerArrayLiteral(const QStringList& elements)
{
    QString literal;
    qsizetype size = 2;
    for (const QString& element : elements) size += element.size() + 3;
    literal.reserve(size);
    literal += QLatin1Char('{');
    for (qsizetype i = 0; i < elements.size(); ++i) {
        if (i > 0) literal += QLatin1Char(',');
        literal += QLatin1Char('"');
        for (const QChar c : elements.at(i)) {
            if (c == QLatin1Char('"') || c == QLatin1Char('\\')) literal += QLatin1Char('\\');
            literal += c;
        }
        literal += QLatin1Char('"');
    }
    literal += QLatin1Char('}');
    return literal;
}

QString RealAsStoredText(double value)
{
    if (std::isinf(value)) return value > 0 ? QStringLiteral("Inf") : QStringLiteral("-Inf");
    if (std::isnan(value)) return QString();
    QString text = QString::number(value, 'g', 15);
    const qsizetype exponent = text.indexOf(QLatin1Char('e'));
    const QStringView mantissa = QStringView(text).left(exponent < 0 ? text.size() : exponent);
    if (!mantissa.contains(QLatin1Char('.'))) text.insert(mantissa.size(), QStringLiteral(".0"));
    return text;
}

// True where the server's text of a double precision value already is the
// file's form, but for ".0" where it has no decimal point (needsPoint).
static bool ServerRealIsStoredForm(const char* serverText, int length, bool& needsPoint)
{
    // Plain decimals ("6.15", "-22", "0.0725") with at most 15 significant
    // digits and a decimal exponent from -4 to 14 are written alike by both:
    // the server's shortest exact digits are the file's 15 rounded ones.
    int i = length > 0 && serverText[0] == '-' ? 1 : 0;
    int integerDigits = 0;
    int significant = 0;
    bool belowOne = true;
    for (; i < length && serverText[i] >= '0' && serverText[i] <= '9'; ++i) {
        ++integerDigits;
        if (serverText[i] != '0') belowOne = false;
        if (!belowOne) ++significant;
    }
    bool plain = integerDigits > 0 && integerDigits <= 15;
    const bool point = i < length && serverText[i] == '.';
    if (plain && point) {
        int zerosBeforeDigits = 0;
        bool inZeros = belowOne;
        for (++i; i < length && serverText[i] >= '0' && serverText[i] <= '9'; ++i) {
            if (inZeros && serverText[i] == '0') {
                ++zerosBeforeDigits;
                continue;
            }
            inZeros = false;
            ++significant;
        }
        if (belowOne && zerosBeforeDigits >= 4) plain = false;   // below 1e-4: the file writes an exponent
    }
    if (significant == 0) plain = false;   // zero, and the server's "-0": the general way
    // "12.50" and "7.": not the file's form of the number
    if (point && (serverText[length - 1] == '0' || serverText[length - 1] == '.')) plain = false;
    needsPoint = !point;
    return plain && i == length && significant <= 15;
}

QString RealAsStoredText(const char* serverText, int length)
{
    bool needsPoint = false;
    if (ServerRealIsStoredForm(serverText, length, needsPoint)) {
        QString text = QString::fromLatin1(serverText, length);
        if (needsPoint) text += QStringLiteral(".0");
        return text;
    }
    return RealAsStoredText(std::strtod(std::string(serverText, std::size_t(length)).c_str(), nullptr));
}

void RealAsStoredUtf8(const char* serverText, int length, QByteArray& out)
{
    bool needsPoint = false;
    if (!ServerRealIsStoredForm(serverText, length, needsPoint)) {
        out = RealAsStoredText(serverText, length).toUtf8();
        return;
    }
    // Written over the bytes already there: a list reads this once per row.
    out.resize(0);
    out.append(serverText, length);
    if (needsPoint) out.append(".0", 2);
}

namespace {

// The length of the number at the start of text (after blanks), or 0.
int numberPrefix(const char* text, int length, int& start)
{
    start = 0;
    while (start < length && (text[start] == ' ' || text[start] == '\t' || text[start] == '\n' || text[start] == '\r'))
        ++start;
    int i = start;
    if (i < length && (text[i] == '+' || text[i] == '-')) ++i;
    const int digitsStart = i;
    while (i < length && text[i] >= '0' && text[i] <= '9') ++i;
    bool digits = i > digitsStart;
    if (i < length && text[i] == '.') {
        int j = i + 1;
        while (j < length && text[j] >= '0' && text[j] <= '9') ++j;
        if (j > i + 1 || digits) {
            digits = true;
            i = j;
        }
    }
    if (!digits) return 0;
    if (i < length && (text[i] == 'e' || text[i] == 'E')) {
        int j = i + 1;
        if (j < length && (text[j] == '+' || text[j] == '-')) ++j;
        const int expStart = j;
        while (j < length && text[j] >= '0' && text[j] <= '9') ++j;
        if (j > expStart) i = j;
    }
    return i - start;
}

} // namespace

double LeadingReal(const char* text, int length)
{
    int start = 0;
    const int size = numberPrefix(text, length, start);
    if (size == 0) return 0.0;
    const std::string number(text + start, std::size_t(size));
    return std::strtod(number.c_str(), nullptr);
}

double ServerNumber(const char* text, int length)
{
    double number = 0.0;
    const auto [end, error] = std::from_chars(text, text + length, number);
    if (error == std::errc() && end == text + length) return number;
    // Whatever from_chars does not take whole (a subnormal, "Infinity"): as before.
    return std::strtod(std::string(text, std::size_t(length)).c_str(), nullptr);
}

qint64 LeadingInteger(const char* text, int length)
{
    // As the file reads a text as an integer: a sign and the digits that follow.
    int i = 0;
    while (i < length && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) ++i;
    bool negative = false;
    if (i < length && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    quint64 magnitude = 0;
    for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i) {
        const unsigned digit = unsigned(text[i] - '0');
        if (magnitude > (quint64(std::numeric_limits<qint64>::max()) + 1 - digit) / 10) {
            return negative ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
        }
        magnitude = magnitude * 10 + digit;
    }
    if (negative) return magnitude > quint64(std::numeric_limits<qint64>::max()) ? std::numeric_limits<qint64>::min()
                                                                                    : -qint64(magnitude);
    return magnitude > quint64(std::numeric_limits<qint64>::max()) ? std::numeric_limits<qint64>::max()
                                                                   : qint64(magnitude);
}
