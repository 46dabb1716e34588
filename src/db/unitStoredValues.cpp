#include "db/unitStoredValues.h"

#include "app/AppError.h"

#include <QLocale>
#include <cmath>

QString BoolToStr(bool value) { return value ? QStringLiteral("-1") : QStringLiteral("0"); }

bool StrToBool(const QString& text)
{
    double number;
    if (TryStrToFloat(text, number)) return number != 0;
    if (text.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0) return true;
    if (text.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0) return false;
    throw AppError(QStringLiteral("'%1' is not a valid boolean value").arg(text));
}

bool TryStrToFloat(const QString& text, double& value)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    value = c.toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(value);
}

double StrToFloat(const QString& text)
{
    double value;
    if (!TryStrToFloat(text, value))
        throw AppError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return value;
}

int StrToInt(const QString& text)
{
    QString trimmed = text.trimmed();
    bool ok = false;
    int value = 0;
    if (trimmed.startsWith('$')) {
        value = trimmed.mid(1).toInt(&ok, 16);
    } else {
        value = trimmed.toInt(&ok, 10);
    }
    if (!ok) throw AppError(QStringLiteral("''%1'' is not a valid integer value").arg(text));
    return value;
}

QString FloatToStr(double value)
{
    if (value == 0) return QStringLiteral("0");
    const double magnitude = std::fabs(value);
    QString text;
    if (magnitude >= 1e15 || magnitude < 1e-5) {
        // Exponent form: mantissa without trailing zeros, "E", sign and at least two digits.
        text = QString::number(value, 'E', 14);
        const int e = text.indexOf('E');
        QString mantissa = text.left(e);
        QString exponent = text.mid(e + 1);
        if (mantissa.contains('.')) {
            while (mantissa.endsWith('0')) mantissa.chop(1);
            if (mantissa.endsWith('.')) mantissa.chop(1);
        }
        const QChar sign = exponent.front();
        exponent = exponent.mid(1);
        while (exponent.size() > 2 && exponent.startsWith('0')) exponent.remove(0, 1);
        return mantissa + 'E' + sign + exponent;
    }
    text = QString::number(value, 'g', 15);
    if (text.contains('e')) {
        // 'g' chose exponent form inside our plain range: write it out in full.
        text = QString::number(value, 'f', 15);
        if (text.contains('.')) {
            while (text.endsWith('0')) text.chop(1);
            if (text.endsWith('.')) text.chop(1);
        }
    }
    return text;
}
