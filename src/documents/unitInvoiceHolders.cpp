#include "documents/unitInvoiceHolders.h"

QList<TInvLine> ListViewPriceItems;
QString txtInvoiceNotes;
QList<int> ListViewRecurringNumber;
