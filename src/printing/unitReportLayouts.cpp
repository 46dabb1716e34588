#include "printing/unitReportLayouts.h"

namespace {

using S = ReportSource;
constexpr Qt::Alignment kRight = Qt::AlignRight;
constexpr Qt::Alignment kCentre = Qt::AlignHCenter;
const ReportFontSpec kTitleFont{QStringLiteral("Arial"), 18, true};
const ReportFontSpec kTotalsFont{QStringLiteral("Arial"), 16, true};
const ReportFontSpec kCaptionFont{QStringLiteral("Arial"), 8, false};

ReportElement fixed(const QString& name, double left, double top, double width, const QString& text,
                    Qt::Alignment alignment = Qt::AlignLeft, ReportFontSpec font = {})
{
    return MakeText(name, left, top, width, S::FixedText, text, alignment, font);
}

ReportElement parameter(const QString& name, double left, double top, double width, const QString& parameterName,
                        Qt::Alignment alignment = Qt::AlignLeft, ReportFontSpec font = {})
{
    return MakeText(name, left, top, width, S::Parameter, parameterName, alignment, font);
}

// A feed field; the name of the element is the field name.
ReportElement field(const QString& fieldName, double left, double top, double width,
                    Qt::Alignment alignment = Qt::AlignLeft)
{
    return MakeText(fieldName, left, top, width, S::Field, fieldName, alignment);
}

ReportElement pageCounter(const QString& name, double left, double top, double width)
{
    return MakeText(name, left, top, width, S::PageCounter, QString(), kRight);
}

// Title and page counter shared by the list reports.
void addListHeader(ReportLayout& layout, const QString& titleParameter)
{
    layout.elements.push_back(parameter(QStringLiteral("rvtxtTitle"), 0.3, 0.3, 7.9, titleParameter, kCentre));
    layout.elements.push_back(pageCounter(QStringLiteral("rvtxtPageNumber"), 5.7, 0.5, 2.5));
}

// Positions in the list tables are page positions; bands measure from the region's left edge.
constexpr double kRegionLeft = 0.3;
double inRegion(double pageLeft) { return pageLeft - kRegionLeft; }

ReportLayout contractOrWarranty(const QString& reportName, const QString& titleParameter,
                                const QString& bodyParameter)
{
    ReportLayout layout;
    layout.name = reportName;
    addListHeader(layout, titleParameter);
    layout.elements.push_back(
        MakeMemo(QStringLiteral("rvtxtBody"), 0.3, 0.8, 7.9, 9.6, S::Parameter, bodyParameter, false, true));
    return layout;
}

} // namespace

ReportLayout ReportInvoiceLayout()
{
    ReportLayout layout;
    layout.name = QStringLiteral("ReportInvoice");
    layout.dataView = QStringLiteral("DataViewInvoice");
    auto& e = layout.elements;

    // Header and company block.
    ReportElement logo;
    logo.name = QStringLiteral("rvBitmapLogo");
    logo.kind = ReportItemKind::Picture;
    logo.rect = QRectF(0.3, 0.1, 3.1, 1.3);
    e.push_back(logo);
    e.push_back(parameter(QStringLiteral("rvtxtInvName"), 4.5, 0.1, 3.7, QStringLiteral("rvstrInvNameNumber"), kRight,
                          kTitleFont));
    e.push_back(parameter(QStringLiteral("rvtxtInvDate"), 5.8, 0.4, 2.4, QStringLiteral("rvstrInvDate"), kRight));
    e.push_back(parameter(QStringLiteral("rvtxtInvValidFor"), 5.8, 0.6, 2.4, QStringLiteral("rvstrInvValidFor"), kRight));
    e.push_back(pageCounter(QStringLiteral("rvtxtInvPageNumber"), 5.8, 0.8, 2.4));
    const char* companyLines[] = {"rvtxtCompName",       "rvtxtCompAddress",  "rvtxtCompCityStateZip",
                                  "rvtxtCompPhoneFax",   "rvtxtCompEmail",    "rvtxtCompWebAddress",
                                  "rvtxtCompLicName1",   "rvtxtCompLicName2", "rvtxtCompLicName3"};
    double top = 1.5;
    for (const char* name : companyLines) {
        e.push_back(fixed(QString::fromLatin1(name), 0.3, top, 3.5, QString()));
        top += 0.2;
    }

    // Customer block.
    e.push_back(MakeRectangle(QStringLiteral("rvrecCustTop"), 0.3, 3.3, 7.9, 0.05));
    e.push_back(fixed(QStringLiteral("rvtxtCustComp"), 0.5, 3.4, 3.2, QString()));
    e.push_back(fixed(QStringLiteral("rvtxtCustName"), 0.5, 3.6, 3.2, QString()));
    e.push_back(fixed(QStringLiteral("rvtxtCustAddress"), 0.5, 3.8, 3.2, QString()));
    e.push_back(fixed(QStringLiteral("rvtxtCustCityStateZip"), 0.5, 4.0, 3.2, QString()));
    e.push_back(fixed(QStringLiteral("rvtxtCustPhoneFax"), 0.5, 4.2, 3.2, QString()));
    e.push_back(fixed(QStringLiteral("rvtxtCustPmtTermsHdng"), 4.8, 3.5, 1.9, QStringLiteral("Payment Terms")));
    e.push_back(MakeRectangle(QStringLiteral("rvrecCustPmtTerms"), 4.8, 3.7, 3.4, 0.2));
    e.push_back(fixed(QStringLiteral("rvtxtCustPmtTerms"), 4.9, 3.7, 3.2, QString()));
    e.push_back(fixed(QStringLiteral("rvtxtCustPOHdng"), 4.8, 4.0, 1.4, QStringLiteral("P.O. Number")));
    e.push_back(MakeRectangle(QStringLiteral("rvrecCustPO"), 4.8, 4.2, 1.7, 0.2));
    e.push_back(fixed(QStringLiteral("rvtxtCustPO"), 4.9, 4.2, 1.5, QString()));
    e.push_back(fixed(QStringLiteral("rvtxtCustTaxEmptNumberHdng"), 6.5, 4.0, 1.5, QStringLiteral("Tax Exempt Number")));
    e.push_back(MakeRectangle(QStringLiteral("rvrecCustTaxEmptNumber"), 6.5, 4.2, 1.7, 0.2));
    e.push_back(fixed(QStringLiteral("rvtxtCustTaxEmptNumber"), 6.6, 4.2, 1.5, QString()));
    e.push_back(MakeRectangle(QStringLiteral("rvrecCustBottom"), 0.3, 4.4, 7.9, 0.05));

    // Line area.
    e.push_back(fixed(QStringLiteral("rvtxtDescriptionHdng"), 0.3, 4.5, 7.9, QStringLiteral("Price Item Description")));
    e.push_back(fixed(QStringLiteral("rvtxtLeftHdng"), 4.8, 4.5, 1.1, QString()));
    e.push_back(fixed(QStringLiteral("rvtxtMiddleHdng"), 5.9, 4.5, 1.1, QString()));
    e.push_back(fixed(QStringLiteral("rvtxtRightHdng"), 7.0, 4.5, 1.2, QString()));
    e.push_back(MakeLine(QStringLiteral("rvhlineItems"), 0.3, 4.7, 7.9));

    // Footer and totals, on every page.
    e.push_back(MakeRectangle(QStringLiteral("rvrecFooter"), 0.3, 9.0, 7.9, 0.05));
    e.push_back(MakeMemo(QStringLiteral("rvtxtInvFootNotes"), 0.3, 9.1, 3.7, 1.2, S::Parameter,
                         QStringLiteral("rvstrInvFootNotes"), true));
    const struct {
        const char* heading;
        const char* box;
        const char* amount;
        const char* headingParameter;
        const char* amountParameter;
        double top;
    } totals[] = {
        {"rvtxtDepositPaidHdng", "rvrecDepositPaid", "rvtxtDepositPaid", "rvstrDepositPaidHdng", "rvstrDepositPaid", 9.1},
        {"rvtxtSubTotalHdng", "rvrecSubTotal", "rvtxtSubTotal", "rvstrSubTotalHdng", "rvstrSubTotal", 9.4},
        {"rvtxtTaxHdng", "rvrecTax", "rvtxtTax", "rvstrTaxHdng", "rvstrTax", 9.7},
        {"rvtxtTotalHdng", "rvrecTotal", "rvtxtTotal", "rvstrTotalHdng", "rvstrTotal", 10.0},
    };
    for (const auto& line : totals) {
        e.push_back(parameter(QString::fromLatin1(line.heading), 4.2, line.top, 2.3,
                              QString::fromLatin1(line.headingParameter), Qt::AlignLeft, kTotalsFont));
        e.push_back(MakeRectangle(QString::fromLatin1(line.box), 6.5, line.top, 1.7, 0.3));
        e.push_back(parameter(QString::fromLatin1(line.amount), 6.6, line.top, 1.6,
                              QString::fromLatin1(line.amountParameter), Qt::AlignLeft, kTotalsFont));
    }

    ReportRegion region;
    region.name = QStringLiteral("RegionInvoiceData");
    region.rect = QRectF(0.3, 4.7, 7.9, 4.0);

    ReportBand rows;
    rows.name = QStringLiteral("DataBandInvoiceData");
    rows.dataBand = true;
    rows.height = 0.2;
    auto addRowField = [&rows](const QString& name, const QString& fieldName, double left, double width) {
        rows.elements.push_back(MakeText(name, left, 0.0, width, S::Field, fieldName));
    };
    // The description ends before the first amount column (set by the filler); a
    // notes line takes the whole width.
    addRowField(QStringLiteral("rvtxtDescription"), QStringLiteral("rvstrDescription"), 0.0, 4.4);
    addRowField(QStringLiteral("rvtxtNote"), QStringLiteral("rvstrNote"), 0.0, 7.9);
    addRowField(QStringLiteral("rvtxtLeft"), QStringLiteral("rvstrLeft"), 4.5, 1.1);
    addRowField(QStringLiteral("rvtxtMiddle"), QStringLiteral("rvstrMiddle"), 5.6, 1.1);
    addRowField(QStringLiteral("rvtxtRight"), QStringLiteral("rvstrRight"), 6.7, 1.2);
    region.bands.push_back(rows);

    ReportBand signature;
    signature.name = QStringLiteral("BandSignatureData");
    signature.height = 1.5;
    signature.visible = false;
    ReportElement acceptance = MakeRectangle(QStringLiteral("rvrecAcceptanceInfo"), 0.1, 0.1, 7.7, 1.3);
    acceptance.kind = ReportItemKind::RoundRectangle;
    acceptance.cornerRadius = 0.15;
    acceptance.dotted = true;
    signature.elements.push_back(acceptance);
    signature.elements.push_back(MakeMemo(QStringLiteral("rvtxtAcceptanceInfo"), 0.2, 0.2, 3.9, 1.1, S::Parameter,
                                          QStringLiteral("rvstrAcceptanceInfo"), true));
    const struct {
        const char* caption;
        double top;
        double width;
    } captions[] = {{"Authorized Signature ", 0.2, 1.5}, {"Signature 1", 0.5, 1.3}, {"Signature 2", 0.8, 1.3}, {"Date", 1.1, 1.3}};
    int captionNumber = 0;
    for (const auto& caption : captions) {
        ++captionNumber;
        signature.elements.push_back(fixed(QStringLiteral("rvtxtSignatureCaption%1").arg(captionNumber), 4.3,
                                           caption.top, caption.width, QString::fromLatin1(caption.caption),
                                           Qt::AlignLeft, kCaptionFont));
        signature.elements.push_back(
            MakeLine(QStringLiteral("rvhlineSignature%1").arg(captionNumber), 4.3, caption.top + 0.2, 3.4));
    }
    region.bands.push_back(signature);
    layout.region = region;
    return layout;
}

ReportLayout ReportPriceSheetLayout()
{
    ReportLayout layout;
    layout.name = QStringLiteral("ReportPriceSheet");
    layout.dataView = QStringLiteral("DataViewPriceSheet");
    addListHeader(layout, QStringLiteral("PriceSheetHeader"));
    layout.elements.push_back(fixed(QStringLiteral("rvtxtDescriptionCaption"), 0.3, 0.8, 2.0,
                                    QStringLiteral("Price Item Description")));
    layout.elements.push_back(fixed(QStringLiteral("rvtxtPriceCaption"), 6.1, 0.8, 1.2, QStringLiteral("Price")));
    layout.elements.push_back(
        fixed(QStringLiteral("rvtxtTaxableCaption"), 7.3, 0.8, 0.9, QStringLiteral("Taxable"), kCentre));

    ReportRegion region{QStringLiteral("RegionPriceSheet"), QRectF(0.3, 1.0, 7.9, 9.4), {}};
    ReportBand band{QStringLiteral("DataBandPriceSheet"), true, 0.6, true, {}};
    auto& b = band.elements;
    b.push_back(MakeLine(QStringLiteral("rvhlineRow"), inRegion(0.3), 0.1, 7.9, true));
    b.push_back(field(QStringLiteral("rvstrDescription"), inRegion(0.4), 0.2, 5.0));
    b.push_back(fixed(QStringLiteral("rvtxtLaborCaption"), inRegion(4.7), 0.2, 1.3, QStringLiteral("Labor:"), kRight));
    b.push_back(field(QStringLiteral("rvstrLabPrice"), inRegion(6.1), 0.2, 1.2));
    b.push_back(field(QStringLiteral("rvstrLabTaxable"), inRegion(7.3), 0.2, 0.9, kCentre));
    b.push_back(fixed(QStringLiteral("rvtxtMaterialCaption"), inRegion(4.7), 0.4, 1.3, QStringLiteral("Material:"), kRight));
    b.push_back(field(QStringLiteral("rvstrMatPrice"), inRegion(6.1), 0.4, 1.2));
    b.push_back(field(QStringLiteral("rvstrMatTaxable"), inRegion(7.3), 0.4, 0.9, kCentre));
    region.bands.push_back(band);
    layout.region = region;
    return layout;
}

ReportLayout ReportCustomerListLayout()
{
    ReportLayout layout;
    layout.name = QStringLiteral("ReportCustomerList");
    layout.dataView = QStringLiteral("DataViewCustomerList");
    addListHeader(layout, QStringLiteral("rvstrCustomerListTitle"));

    ReportRegion region{QStringLiteral("RegionCustomerList"), QRectF(0.3, 0.7, 7.9, 9.7), {}};
    ReportBand band{QStringLiteral("DataBandCustomerList"), true, 1.6, true, {}};
    auto& b = band.elements;
    b.push_back(MakeLine(QStringLiteral("rvhlineRow"), inRegion(0.3), 0.1, 7.9, true));
    b.push_back(fixed(QStringLiteral("rvtxtCustomerNumberCaption"), inRegion(0.4), 0.2, 1.4,
                      QStringLiteral("Customer Number:"), kRight));
    b.push_back(field(QStringLiteral("rvstrCustomerID"), inRegion(1.9), 0.2, 1.4));
    b.push_back(field(QStringLiteral("rvstrCustCompany"), inRegion(0.3), 0.4, 3.2));
    b.push_back(field(QStringLiteral("rvstrCustFirstLastName"), inRegion(0.3), 0.6, 3.2));
    b.push_back(field(QStringLiteral("rvstrCustAddress"), inRegion(0.3), 0.8, 3.2));
    b.push_back(field(QStringLiteral("rvstrCustCityStateZip"), inRegion(0.3), 1.0, 3.2));
    const struct {
        const char* caption;
        const char* fieldName;
        double top;
    } rightColumn[] = {{"Phone:", "rvstrCustPhone", 0.4},
                       {"Fax:", "rvstrCustFax", 0.6},
                       {"Email:", "rvstrCustEmail", 0.8},
                       {"Tax Number:", "rvstrCustTaxExmpNmbr", 1.0},
                       {"Payment Terms:", "rvstrCustPmtTerms", 1.2}};
    for (const auto& line : rightColumn) {
        b.push_back(fixed(QStringLiteral("%1Caption").arg(QString::fromLatin1(line.fieldName)), inRegion(3.8), line.top,
                          1.2, QString::fromLatin1(line.caption), kRight));
        b.push_back(field(QString::fromLatin1(line.fieldName), inRegion(5.1), line.top, 3.1));
    }
    b.push_back(fixed(QStringLiteral("rvtxtNotesCaption"), inRegion(0.4), 1.4, 0.9, QStringLiteral("Notes:"), kRight));
    b.push_back(MakeMemo(QStringLiteral("rvstrCustNotes"), inRegion(1.4), 1.4, 6.7, 0.2, S::Field,
                         QStringLiteral("rvstrCustNotes"), false));
    region.bands.push_back(band);
    layout.region = region;
    return layout;
}

ReportLayout ReportPlannerLayout()
{
    ReportLayout layout;
    layout.name = QStringLiteral("ReportPlanner");
    layout.dataView = QStringLiteral("DataViewPlanner");
    auto& e = layout.elements;
    e.push_back(parameter(QStringLiteral("rvtxtTitle"), 0.3, 0.3, 7.9, QStringLiteral("rvstrPlannerTitle"), kCentre));
    e.push_back(parameter(QStringLiteral("rvtxtDates"), 0.3, 0.5, 7.9, QStringLiteral("rvstrPlannerDates"), kCentre));
    e.push_back(pageCounter(QStringLiteral("rvtxtPageNumber"), 5.7, 0.7, 2.5));
    e.push_back(MakeLine(QStringLiteral("rvhlineHeadings"), 0.3, 1.0, 7.9));
    const struct {
        const char* name;
        double left;
        double width;
    } headings[] = {{"rvstrActStartDayHdng", 0.3, 1.8},   {"rvstrActEndDayHdng", 2.2, 1.8},
                    {"rvstrActivityDayHdng", 4.1, 4.1},   {"rvstrActDateWkMnthHdng", 0.3, 1.2},
                    {"rvstrActStartWkMnthHdng", 1.6, 1.5}, {"rvstrActEndWkMnthHdng", 3.2, 1.5},
                    {"rvstrActivityWkMnthHdng", 4.8, 3.4}};
    for (const auto& heading : headings)
        e.push_back(parameter(QString::fromLatin1(heading.name), heading.left, 1.1, heading.width,
                              QString::fromLatin1(heading.name)));

    ReportRegion region{QStringLiteral("RegionPlanner"), QRectF(0.3, 1.3, 7.9, 9.1), {}};
    ReportBand band{QStringLiteral("DataBandPlanner"), true, 0.6, true, {}};
    auto& b = band.elements;
    b.push_back(MakeLine(QStringLiteral("rvhlineRow"), inRegion(0.3), 0.1, 7.9, true));
    const struct {
        const char* name;
        double left;
        double width;
    } fields[] = {{"rvstrActStartDay", 0.3, 1.8},   {"rvstrActEndDay", 2.2, 1.8},
                  {"rvstrActivityDay", 4.1, 4.1},   {"rvstrActDateWkMnth", 0.3, 1.2},
                  {"rvstrActStartWkMnth", 1.6, 1.5}, {"rvstrActEndWkMnth", 3.2, 1.5},
                  {"rvstrActivityWkMnth", 4.8, 3.4}};
    for (const auto& item : fields)
        b.push_back(field(QString::fromLatin1(item.name), inRegion(item.left), 0.2, item.width));
    b.push_back(fixed(QStringLiteral("rvtxtNotesCaption"), inRegion(0.4), 0.4, 1.5, QStringLiteral("Activity Notes:"),
                      kRight));
    b.push_back(MakeMemo(QStringLiteral("rvstrActivityNotes"), inRegion(2.0), 0.4, 6.2, 0.2, S::Field,
                         QStringLiteral("rvstrActivityNotes"), false));
    region.bands.push_back(band);
    layout.region = region;
    return layout;
}

ReportLayout ReportContractLayout()
{
    return contractOrWarranty(QStringLiteral("ReportContract"), QStringLiteral("rvstrContractTitle"),
                              QStringLiteral("rvstrContractBody"));
}

ReportLayout ReportWarrantyLayout()
{
    return contractOrWarranty(QStringLiteral("ReportWarranty"), QStringLiteral("rvstrWarrantyTitle"),
                              QStringLiteral("rvstrWarrantyBody"));
}

ReportLayout ReportTaxSalesReportLayout()
{
    ReportLayout layout;
    layout.name = QStringLiteral("ReportTaxSalesReport");
    layout.dataView = QStringLiteral("DataViewReports");
    addListHeader(layout, QStringLiteral("rvstrTaxSalesTitle"));
    const struct {
        const char* heading;
        const char* fieldName;
        double left;
    } columns[] = {{"rvstrDateHdng", "rvstrDate", 0.3},         {"rvstrTypeHdng", "rvstrType", 1.4},
                   {"rvstrTax1Hdng", "rvstrTax1", 2.5},         {"rvstrTax2Hdng", "rvstrTax2", 3.6},
                   {"rvstrTax3Hdng", "rvstrTax3", 4.7},         {"rvstrTaxTotalHdng", "rvstrTaxTotal", 5.8},
                   {"rvstrSalesTotalHdng", "rvstrSalesTotal", 6.9}};
    for (const auto& column : columns)
        layout.elements.push_back(parameter(QString::fromLatin1(column.heading), column.left, 0.8, 1.1,
                                            QString::fromLatin1(column.heading)));
    layout.elements.push_back(MakeLine(QStringLiteral("rvhlineHeadings"), 0.3, 1.0, 7.9));

    ReportRegion region{QStringLiteral("RegionReports"), QRectF(0.3, 1.1, 7.9, 9.3), {}};
    ReportBand band{QStringLiteral("DataBandReports"), true, 0.2, true, {}};
    for (const auto& column : columns)
        band.elements.push_back(field(QString::fromLatin1(column.fieldName), inRegion(column.left), 0.0, 1.1));
    region.bands.push_back(band);
    layout.region = region;
    return layout;
}

ReportLayout* ReportProject::report(const QString& name)
{
    for (ReportLayout& layout : reports)
        if (layout.name == name) return &layout;
    return nullptr;
}

ReportProject LoadReportProject()
{
    ReportProject project;
    project.reports = {ReportInvoiceLayout(),  ReportPriceSheetLayout(), ReportCustomerListLayout(),
                       ReportPlannerLayout(),  ReportContractLayout(),   ReportWarrantyLayout(),
                       ReportTaxSalesReportLayout()};
    return project;
}
