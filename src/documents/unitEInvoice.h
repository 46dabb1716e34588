#pragma once
// E-invoices: the EN 16931 data of an invoice or a credit as UN/CEFACT Cross
// Industry Invoice XML (D16B), the form a customer's accounting system reads.
// It travels inside the PDF as factur-x.xml (see printing/qpdf/unitPdfA3.h) or as a
// file of its own. Estimates, work orders, change orders and past-due notices
// carry none.
#include "company/unitCompanyData.h"
#include "company/unitEInvoiceSettings.h"
#include "documents/unitDocumentModel.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// Everything an e-invoice is made from: the document as it stands (header,
// notes, lines, buyer data), the company's tax rates and profile, the printed
// foot note and the e-invoice settings.
struct TEInvoiceSource {
    TInvDocument document;
    std::array<double, 3> companyRates{};
    QString strFootNote;
    TrecCompanyData company;
    TrecEInvoiceSettings settings;
};

// The source of a document with the company settings in memory.
TEInvoiceSource CurrentEInvoiceSource(const TInvDocument& document, int footNote);

// Invoices and credits (any letter case) carry an e-invoice.
bool TakesEInvoice(const QString& typeName);

// Why this document cannot be written as an e-invoice: one reason a line,
// naming what is missing and where it is entered; empty when it can.
QStringList EInvoiceMissing(const TEInvoiceSource& source);

// The XML (UTF-8). Throws AppError with the reasons when EInvoiceMissing has any.
QByteArray BuildEInvoiceXml(const TEInvoiceSource& source);

// The message that tells the user why a document went without e-invoice data:
// for a PDF, that it is written as a plain PDF; for the XML alone, that no file
// was written.
enum class TEInvoiceUse { Pdf, XmlFile };
QString EInvoiceRefusalMessage(const QString& displayName, const QStringList& reasons, TEInvoiceUse use);

// What a PDF of the document carries: the XML when the settings ask for it and
// the document can carry it; otherwise no XML, and a message when the settings
// asked for it and the document cannot carry it.
struct TEInvoiceForPdf {
    QByteArray xml;
    QString strRefusal;
};
TEInvoiceForPdf EInvoiceForPdf(const TEInvoiceSource& source);

// The payment due date the terms state: "Net 30", "30 days" or "Due in 14 days"
// count days from the document date; "upon receipt" and "day of completion"
// mean the document date; "Due on the 10th" the next 10th on or after it. None
// for other terms and for no terms.
std::optional<QDate> DueDateFromTerms(const QString& terms, const QDate& documentDate);
