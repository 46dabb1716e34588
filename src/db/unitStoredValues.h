#pragma once
// The stored forms of values and their conversions: flags are the texts "-1" and
// "0", amounts are REAL, dates are text in the short date format (unitRegional).
// A text that does not convert throws AppError with the program's message.
#include <QString>

QString BoolToStr(bool value);               // "-1" / "0"
// Any number (true when not zero) or "True"/"False" in any letter case;
// otherwise "'%s' is not a valid boolean value".
bool StrToBool(const QString& text);

// "'%s' is not a valid floating point value"
double StrToFloat(const QString& text);
bool TryStrToFloat(const QString& text, double& value);
// "''%s'' is not a valid integer value"
int StrToInt(const QString& text);

// General decimal form with up to 15 significant digits, "." as separator, no
// grouping; exponent form below 1E-5 and from 1E15 in magnitude.
QString FloatToStr(double value);
