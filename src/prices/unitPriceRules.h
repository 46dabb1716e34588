#pragma once
// The rules of the price sheet apart from its widgets: what a number box
// accepts, when an item can be saved or added to a document, and how a typed
// price becomes the stored number.
#include <QString>

// The key filter of the price and quantity boxes: AllowNumDecimalOnly.
#include "app/unitNumberInput.h"

// "Save" needs a description and at least one of the two prices.
bool PriceItemCanBeSaved(const QString& description, const QString& labourPrice, const QString& materialPrice);

// "Add To Invoice" after a change of the quantity: with a description and a
// price it is enabled exactly when a quantity is given; otherwise it keeps
// its state.
bool AddToInvoiceEnabled(const QString& description, const QString& labourPrice, const QString& materialPrice,
                         const QString& quantity, bool enabledNow);

// "Print" (with "Print Preview") is offered while the list is enabled (nothing
// being edited) and has rows, and never while picking an item for a document.
bool PricePrintAllowed(bool listEnabled, int listRowCount, bool pickMode);

// An empty price box stands for "0.0".
QString PriceBoxOrZero(const QString& text);

// The stored number of a typed price, read as ParseTypedNumber reads it. A
// text that is no number throws AppError "'%s' is not a valid floating point
// value"; one that reads as two amounts throws a message showing both.
double PriceTextToNumber(const QString& text);
