#pragma once
// The two summaries of the main window: unpaid invoices and recurring invoices.
// The functions read the database and return what the window shows; when a main
// window has registered itself as the display, it is updated at the same time,
// so any screen that changes documents can refresh the summaries with one call.
#include <QString>
#include <functional>

struct TrecMainCounters {
    int intUnPaidCount = 0;      // invoices neither paid in full nor recurring
    int intRecurringCount = 0;   // invoices on the recurring list
    QString strUnPaidCaption;    // "UnPaid Invoices: " + count
    bool blShowUnPaid = false;   // the unpaid group is shown
    bool blShowRecurring = false; // the recurring group is shown
};

struct TrecMainCountersDisplay {
    std::function<void(const TrecMainCounters&)> showCounters;
    std::function<void(const QString&)> showLastPrinted;
};

// Installs the display the two functions below update; an empty record removes it.
void SetMainCountersDisplay(TrecMainCountersDisplay display);

// Counts unpaid and recurring invoices.
TrecMainCounters RefreshMainCounters();
// "Last Printed on: " + the date of the last recurring run, or
// "Last Printed on:  Never" when there was none.
QString ShowLastPrintedDate();
