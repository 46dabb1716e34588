#pragma once
// Reads back what a PDF carries besides its pages, with qpdf and poppler: its
// embedded files, its XMP metadata, its fonts and its object tree as JSON.
#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// The bytes of an embedded file (qpdf --show-attachment); empty, and a failed
// test, when the PDF has no such attachment.
QByteArray ShowAttachment(const QString& pdf, const QString& name);
// The names of the embedded files (qpdf --list-attachments).
QStringList AttachmentNames(const QString& pdf);
// The XMP metadata packet (pdfinfo -meta); empty when there is none.
QString XmpMetadata(const QString& pdf);
// The fonts pdffonts lists as not embedded ("name (type)"); the list also
// fails the test when pdffonts cannot read the file or lists no font at all.
QStringList FontsNotEmbedded(const QString& pdf);
// The PDF's objects (qpdf --json), "obj:12 0 R" -> value, and "trailer".
QJsonObject PdfObjects(const QString& pdf);
// The value of an object reference ("12 0 R") or the value itself.
QJsonValue Resolve(const QJsonObject& objects, const QJsonValue& value);
