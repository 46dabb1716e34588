#pragma once
// The PDF/A-3 part of an e-invoice PDF (Factur-X / ZUGFeRD). Who writes what:
// - Qt's PDF writer, in its PDF/A mode, paints the pages with every font
//   embedded and writes the sRGB output intent;
// - here (libqpdf), on the file Qt wrote: the XMP metadata (PDF/A-3 part and
//   conformance B, the document information, the Factur-X extension schema and
//   its four entries), the creation and change dates in the document
//   information to match it, and the XML embedded as factur-x.xml, associated
//   with the document (/AF, AFRelationship Alternative, MIME type text/xml).
#include "printing/unitReportOutput.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

class QPDF;

inline constexpr char kFacturXFileName[] = "factur-x.xml";

// The XMP metadata packet of a Factur-X PDF/A-3b with this document information.
QByteArray FacturXMetadata(const PdfDocumentInfo& info, const QDateTime& stamp);

// Makes the loaded PDF (written by Qt in PDF/A mode, its document information
// already set) a PDF/A-3b carrying `xml` as factur-x.xml.
void MakeFacturXPdf(QPDF& pdf, const PdfDocumentInfo& info, const QByteArray& xml, const QDateTime& stamp);
