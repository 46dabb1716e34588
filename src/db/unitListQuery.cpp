#include "db/unitListQuery.h"

QString EngineUpper(const QString& text)
{
    QString result = text;
    for (QChar& c : result)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 'a' + 'A');
    return result;
}

QString TextPrefixCondition(const QString& column)
{
    return QStringLiteral("STARTS_WITH_TEXT(") + column + QStringLiteral(", ?) = 1");
}
