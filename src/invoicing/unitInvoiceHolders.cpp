#include "invoicing/unitInvoiceHolders.h"

QList<TInvLine> ListViewPriceItems;
QString txtInvoiceNotes;
QList<int> ListViewRecurringNumber;
