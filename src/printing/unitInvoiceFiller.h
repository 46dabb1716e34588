#pragma once
// The document filler: writes a document's texts into the document layout,
// colours it by type, sizes the logo, places the company block under it and
// moves the customer block, headings, line area and signature block down so
// that they follow whatever the company block needs.
#include "company/unitCompanyData.h"
#include "printing/unitPrintData.h"
#include "printing/unitReportLayout.h"

#include <QColor>

struct TInvoiceFillInput {
    TrecPrintData printData;
    bool manualForm = false;
    int invNumber = 0;
    TrecCompanyData company;
    TrecCmpnyInvData settings;
    std::array<std::uint32_t, 7> typeColors{};
    QString logoPath;
};

// The input as the program holds it: recPrintData, blManualInvoice,
// intCurrentInvNumber, the company settings and the logo file.
TInvoiceFillInput CurrentInvoiceFillInput();

// The print colour of a type name (compared without regard to case); black for
// a name that is not one of the six.
QColor InvTypeColor(const QString& invType, const std::array<std::uint32_t, 7>& typeColors);

struct TInvoiceFillResult {
    // Why the logo file that exists could not be read (it is left out then);
    // empty when the logo printed or there is none.
    QString unreadableLogo;
};

// Fills the ReportInvoice layout. A missing logo file, or one that cannot be
// read, leaves the logo out.
TInvoiceFillResult FillInvoiceLayout(ReportLayout& layout, const TInvoiceFillInput& input);
// The same from the program's current state; a logo that cannot be read is
// told once (for the file as it stands), and the document prints without it.
void pSetInvoiceData(ReportLayout& layout);
