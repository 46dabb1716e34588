#pragma once
// Which price items the price sheet lists: the four search types, the
// statement each runs and the rows it returns.
#include "db/unitListQuery.h"

#include <QString>
#include <QStringList>
#include <vector>

enum TPriceSearchType {
    pstAllPriceItems = 0,
    pstPriceItemName,
    pstLaborTaxable,
    pstMaterialTaxable,
};

QStringList PriceSearchTypeNames();

// Only the name search takes a search text; the others empty and disable the box.
bool PriceSearchNeedsText(int searchType);

// The statement for a search type and text. The name search is a prefix match
// in any letter case; the text is bound, so a double quote is searched as typed,
// while "%" and "_" keep their wildcard meaning.
TListQuery BuildPriceQuery(int searchType, const QString& text);

// One row of the price list.
struct TPriceListRow {
    qint64 intPrcItemNumID = 0;
    QString strPrcItemName;
    QString strLabTax;       // the stored flag read as a number: "-1" or "0"
    QString strMatTax;
    double dbLbrPrc = 0;
    double dbMatPrc = 0;
    QString strLbrPrcText;   // the price as the database writes the number: "12.5", "12.0"
    QString strMatPrcText;
};

// The row of the list query the statement stands on.
TPriceListRow ReadPriceListRow(const DbStatement& statement);

// Runs the search on its own connection; rows in table order (ascending id).
std::vector<TPriceListRow> QueryPriceList(int searchType, const QString& text);
