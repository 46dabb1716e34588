#pragma once
// Validates e-invoice XML with the official EN 16931 artefacts in
// tests/einvoice: the CII D16B schema (xmllint) and the EN 16931 business rules
// (the Schematron compiled to XSLT, run by Saxon HE). Each tool runs once for
// all the files given, so a test validates its whole table of cases in one go.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// name -> XML. Answers, for each name, its problems: schema errors and the
// fatal rules that failed ("[BR-CO-10] ..."); an empty list for a valid file.
// A tool that cannot run at all fails the running test.
QMap<QString, QStringList> ValidateEInvoices(const QMap<QString, QByteArray>& files);
