#pragma once
// The rules of the company screen, without widgets: the tax-box text and its
// help, the payment-term list and its count text, the right-packed column
// preview, the checks before a save (tax names, mail port), the unreadable
// logo's caption, and the planner choice codes.
#include <QString>
#include <QStringList>
#include <array>

constexpr int kMaxPaymentTerms = 10;

// A tax box's six-character text made whole: a blank first position becomes
// "0", a blank second position ".", blanks in positions 3 to 6 "0". A short
// text counts as padded with blanks, so an emptied box reads "0.0000".
// The separator is the one the box shows (the regional decimal separator on
// screen, '.' in the stored form).
QString SetToNumber(const QString& boxText, QChar decimalSeparator = QLatin1Char('.'));

// A rate as the tax box shows it: four decimals (0.0123 shows as 0.0123).
QString TaxRateText(double rate);

// "Payment Terms are full" at ten entries, else "You may add N more Payment Terms".
QString PaymentTermsCountText(int count);

// The question asked before a term leaves the list.
QString RemovePaymentTermQuestion(const QString& term);

// The list entries in list order from slot 1, the remaining slots empty
// (index 0 is unused, as in the settings in memory).
std::array<QString, 11> PaymentTermSlots(const QStringList& entries);

// The non-empty terms of the ten slots, in slot order.
QStringList PaymentTermEntries(const std::array<QString, 11>& termSlots);

// The help beside a tax box, its examples ("0.0500") in the regional form.
QString TaxAmountHelpText();

// One column of the line-list preview: its heading and the values of the two
// sample lines; all three empty for an unused column.
struct TPreviewColumn {
    QString heading;
    QString line1;
    QString line2;
    bool operator==(const TPreviewColumn&) const = default;
};

// The three right-hand columns, left to right. They are filled from the right:
// the right-most gets the first checked of Total, Price Each, Quantity, the next
// to the left the second, the left-most the third. Amounts and quantities are
// in the regional form ($24.75, 24,75 €).
std::array<TPreviewColumn, 3> ColumnPreview(bool showQuantity, bool showPriceEach, bool showTotal);

// The first tax option (1 to 3) whose rate is above 0 and whose name is empty,
// or 0 when every option may be saved. Rates are the tax boxes' texts.
int TaxOptionMissingName(const std::array<QString, 3>& rateTexts, const std::array<QString, 3>& names);
// "Please enter a Tax Name for Tax Option N."
QString TaxNameMissingMessage(int option);

// The mail port: empty (the standard port) or a whole number from 1 to 65535.
bool MailPortAllowed(const QString& portText);
// The message for a port outside that range.
QString MailPortMessage();

// The caption of a stored logo file that cannot be read, with the reason.
QString UnreadableLogoText(const QString& reason);

// A stored choice code shows as ticked only when it is one of the listed ones;
// the value saved for "nothing ticked" is 0.
bool IsRemovalCode(int code);          // 0 to 3
bool IsDefaultPlannerCode(int code);   // 0 to 2
