#pragma once
// How a number typed into a box is read. People type amounts in their own
// regional form ("1.234,50" in Germany, "1,234.50" in the United States), and
// sometimes in the other one ("2.5" in Germany). A typed separator is never
// dropped and no other amount is stored than the one meant:
//
// - the regional decimal separator always marks the decimals;
// - a text that reads as one number under the regional rules, with or without
//   grouping ("1.234,50", "1234,50"), is that number;
// - a text with the other convention's decimal separator that cannot be
//   regional grouping ("2.5": not three digits after the point) is read with
//   the other convention ("1,234.50" is 1234.50 under German settings too);
// - a text that reads both ways ("1.234" under German settings: 1234 or 1.234)
//   is refused, and the message shows both readings.
#include <QChar>
#include <QString>

struct TTypedNumber {
    enum class Reading { NotANumber, One, Two };
    Reading reading = Reading::NotANumber;
    // One: the stored form of the number ("1234.50": digits as typed, no
    // grouping, '.' before the decimals). Two: the regional reading.
    QString stored;
    // Two: the reading with the other convention's decimal separator.
    QString otherStored;
};

// The reading of `typed` where `decimal` and `group` are the regional
// separators (',' and '.' in Germany). Blanks around the text are ignored; a
// leading '-' is kept.
TTypedNumber ReadTypedNumber(const QString& typed, QChar decimal, QChar group);

// The same under the display locale (app/unitRegional.h).
TTypedNumber ReadTypedNumber(const QString& typed);

// "'1.234' can mean 1234 or 1,234: please type the amount as one of these."
// with both readings in the regional form.
QString TwoReadingsMessage(const QString& typed, const TTypedNumber& number);

// True for a character a number box lets through as typed: a digit 0-9, '.',
// ',', and the regional separators (a blank too where the regional grouping is
// a blank).
bool IsNumberBoxCharacter(QChar typed);
