#include "printing/unitInvoiceFiller.h"

#include "app/unitAppInfo.h"
#include "company/unitCompanyLogoStore.h"
#include "app/unitDialogs.h"
#include "app/unitModeValues.h"
#include "company/unitLogoFile.h"
#include "documents/unitDocumentModel.h"

#include <QDateTime>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace {

constexpr double kLineStep = 0.2;
constexpr double kCompanyBlockFloor = 1.7;
const QColor kSilver(192, 192, 192);

QColor colorOf(std::uint32_t packed) { return QColor(ColorRed(packed), ColorGreen(packed), ColorBlue(packed)); }

void setTop(ReportLayout& layout, const QString& name, double top)
{
    ReportElement& item = layout.element(name);
    item.rect.moveTop(top);
}

void setText(ReportLayout& layout, const QString& name, const QString& text, double top)
{
    ReportElement& item = layout.element(name);
    item.text = text;
    item.rect.moveTop(top);
}

// Said once for the logo as it stands (its bytes), not for every
// document of a run or every print after it: the company screen goes on
// showing that the logo cannot be read until it is replaced or removed.
void SayOnceLogoUnreadable(const QString& path, const QString& reason)
{
    static QSet<QByteArray> said;
    // By content: a server seat writes the database's logo afresh for each print.
    QFile file(path);
    const QByteArray key = file.open(QIODevice::ReadOnly)
                               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1)
                               : QByteArray();
    if (said.contains(key)) return;
    said.insert(key);
    ShowInformation(QStringLiteral("The company logo %1 cannot be read (%2), so documents are printed without "
                                   "it. Choose a new logo or remove it under Company Information.")
                        .arg(QDir::toNativeSeparators(path), reason));
}

} // namespace

TInvoiceFillInput CurrentInvoiceFillInput()
{
    TInvoiceFillInput input;
    input.printData = recPrintData;
    input.manualForm = blManualInvoice;
    input.invNumber = intCurrentInvNumber;
    input.company = recCompanyData;
    input.settings = recCmpnyInvData;
    input.typeColors = arrInvTypeColor;
    input.logoPath = LogoFileForPrinting();
    return input;
}

QColor InvTypeColor(const QString& invType, const std::array<std::uint32_t, 7>& typeColors)
{
    const int index = InvTypeIndex(invType);
    if (index < 0) return QColor(Qt::black);
    return colorOf(typeColors[std::size_t(index) + 1]);
}

TInvoiceFillResult FillInvoiceLayout(ReportLayout& layout, const TInvoiceFillInput& input)
{
    TInvoiceFillResult result;
    const TrecPrintData& data = input.printData;
    const TrecCompanyData& company = input.company;
    const TrecCmpnyInvData& settings = input.settings;
    const bool workOrder = SameInvType(data.strInvType, arrInvTypeNames[itWorkOrder]);

    // 1. Type colour.
    const QColor typeColor = InvTypeColor(data.strInvType, input.typeColors);

    // 2. Logo: never on work orders; its height by the logo size, its width by the aspect.
    ReportElement& logo = layout.element(QStringLiteral("rvBitmapLogo"));
    logo.rect.setHeight(0);
    logo.visible = false;
    logo.picture = QImage();
    const TStoredLogo stored = workOrder ? TStoredLogo() : ReadStoredLogo(input.logoPath);
    // A logo that cannot be read is left out like a missing one: the document
    // still prints, and the caller says why.
    if (stored.unreadable()) result.unreadableLogo = stored.problem;
    if (!stored.picture.isNull()) {
        // No more dots than the printed box needs, so a large photograph
        // stored earlier does not make every PDF large.
        const QImage image = LogoForPrinting(stored.picture);
        const double height = settings.blLargeLogo ? kLargeLogoHeight : kSmallLogoHeight;
        double width = height * double(image.width()) / double(image.height());
        if (width > kLogoMaxWidth) width = kLogoMaxWidth;
        logo.rect.setHeight(height);
        logo.rect.setWidth(width);
        logo.picture = image;
        logo.visible = true;
    }

    // 3. Title and its parameters.
    layout.element(QStringLiteral("rvtxtInvName")).fontColor = typeColor;
    layout.setParameter(QStringLiteral("rvstrInvNameNumber"), data.strInvType + QLatin1Char(' ') + QString::number(input.invNumber));
    layout.setParameter(QStringLiteral("rvstrInvDate"), data.strInvDate);
    layout.setParameter(QStringLiteral("rvstrInvValidFor"), data.strInvValidFor);

    // 4. The company block starts under the logo.
    double y = logo.rect.top() + logo.rect.height();

    // 5. Company lines: a line left out takes no room.
    auto companyLine = [&](const QString& name, bool placed, const QString& text) {
        ReportElement& item = layout.element(name);
        item.text.clear();
        if (!placed) return;
        item.text = text;
        item.rect.moveTop(y);
        y += kLineStep;
    };
    companyLine(QStringLiteral("rvtxtCompName"), !company.strCompName.isEmpty(), company.strCompName);
    companyLine(QStringLiteral("rvtxtCompAddress"), !company.strCompAddress.isEmpty(), company.strCompAddress);
    companyLine(QStringLiteral("rvtxtCompCityStateZip"),
                !company.strCompCity.isEmpty() || !company.strCompState.isEmpty() || !company.strCompZip.isEmpty(),
                company.strCompCity + QStringLiteral(", ") + company.strCompState + QLatin1Char(' ') + company.strCompZip);
    QString phoneFax = company.strCompPhone;
    if (!company.strCompFax.isEmpty()) phoneFax += QStringLiteral(" Fax: ") + company.strCompFax;
    companyLine(QStringLiteral("rvtxtCompPhoneFax"), !company.strCompPhone.isEmpty() || !company.strCompFax.isEmpty(),
                phoneFax);
    companyLine(QStringLiteral("rvtxtCompEmail"), !company.strCompEmail.isEmpty(), company.strCompEmail);
    companyLine(QStringLiteral("rvtxtCompWebAddress"), !company.strCompWebSite.isEmpty(), company.strCompWebSite);
    const std::array<std::pair<QString, QString>, 3> licences = {{{company.strCompLicName1, company.strCompLicNum1},
                                                                   {company.strCompLicName2, company.strCompLicNum2},
                                                                   {company.strCompLicName3, company.strCompLicNum3}}};
    for (std::size_t index = 0; index < licences.size(); ++index) {
        const auto& [licenceName, licenceNumber] = licences[index];
        companyLine(QStringLiteral("rvtxtCompLicName%1").arg(index + 1),
                    !licenceName.isEmpty() || !licenceNumber.isEmpty(), licenceName + QLatin1Char(' ') + licenceNumber);
    }

    // 6. The customer block never starts above 1.7.
    if (y <= kCompanyBlockFloor) y = kCompanyBlockFloor;

    // 7. Customer block frame.
    ReportElement& topBar = layout.element(QStringLiteral("rvrecCustTop"));
    topBar.rect.moveTop(y);
    topBar.fill = typeColor;
    y += 0.1;
    const double b = y;

    // 8. Right-hand boxes.
    setTop(layout, QStringLiteral("rvtxtCustPmtTermsHdng"), b + 0.2);
    setTop(layout, QStringLiteral("rvrecCustPmtTerms"), b + 0.39);
    setTop(layout, QStringLiteral("rvtxtCustPOHdng"), b + 0.6);
    setTop(layout, QStringLiteral("rvrecCustPO"), b + 0.79);
    setTop(layout, QStringLiteral("rvtxtCustTaxEmptNumberHdng"), b + 0.6);
    setTop(layout, QStringLiteral("rvrecCustTaxEmptNumber"), b + 0.79);

    const QString customerLines[] = {QStringLiteral("rvtxtCustComp"), QStringLiteral("rvtxtCustName"),
                                     QStringLiteral("rvtxtCustAddress"), QStringLiteral("rvtxtCustCityStateZip"),
                                     QStringLiteral("rvtxtCustPhoneFax")};
    if (!input.manualForm) {
        // 9. The customer's own values; empty values keep their line.
        setText(layout, QStringLiteral("rvtxtCustPmtTerms"), data.strCustPmtTerms, b + 0.4);
        setText(layout, QStringLiteral("rvtxtCustPO"), data.strCustPONumber, b + 0.8);
        setText(layout, QStringLiteral("rvtxtCustTaxEmptNumber"), data.strCustTaxExemptNum, b + 0.8);
        const QString values[] = {data.strCustCompany, data.strCustName, data.strCustAddress, data.strCustCityStZip,
                                  data.strCustPhoneFax};
        for (int index = 0; index < 5; ++index) setText(layout, customerLines[index], values[index], b + 0.2 * index);
    } else {
        // 10. Blank form: silver prompts with write-in lines under the first four.
        setText(layout, QStringLiteral("rvtxtCustPmtTerms"), data.strCustPmtTerms, b + 0.4);
        setText(layout, QStringLiteral("rvtxtCustPO"), QString(), b + 0.8);
        setText(layout, QStringLiteral("rvtxtCustTaxEmptNumber"), QString(), b + 0.8);
        const QString prompts[] = {QStringLiteral("Company Name"), QStringLiteral("Name"), QStringLiteral("Address"),
                                   QStringLiteral("City,State Zip"), QStringLiteral("Phone, Fax")};
        for (int index = 0; index < 5; ++index) {
            setText(layout, customerLines[index], prompts[index], b + 0.2 * index);
            ReportElement& prompt = layout.element(customerLines[index]);
            prompt.fontColor = kSilver;
            if (index < 4) {
                ReportElement line = MakeLine(QStringLiteral("rvhlineWriteIn%1").arg(index + 1), prompt.rect.left(),
                                              prompt.rect.top() + 0.17, 3.0);
                line.penColor = kSilver;
                layout.elements.push_back(line);
            }
        }
    }

    // 11. Bottom bar.
    y = b + 1.0;
    ReportElement& bottomBar = layout.element(QStringLiteral("rvrecCustBottom"));
    bottomBar.rect.moveTop(y);
    bottomBar.fill = typeColor;
    y += 0.2;

    // 12. Column headings, packed from the right like the line amounts.
    const std::array<QString, 3> headings = AmountHeadings(data.strInvType, settings);
    setText(layout, QStringLiteral("rvtxtDescriptionHdng"), QStringLiteral("Price Item Description"), y);
    setText(layout, QStringLiteral("rvtxtRightHdng"), headings[0], y);
    setText(layout, QStringLiteral("rvtxtMiddleHdng"), headings[1], y);
    setText(layout, QStringLiteral("rvtxtLeftHdng"), headings[2], y);
    // A line's description ends 0.1 before the first amount column shown.
    const int shownColumns = int(std::count_if(headings.begin(), headings.end(), [](const QString& h) { return !h.isEmpty(); }));
    const double descriptionWidths[] = {7.9, 6.6, 5.5, 4.4};
    layout.element(QStringLiteral("rvtxtDescription")).rect.setWidth(descriptionWidths[std::clamp(shownColumns, 0, 3)]);

    // 13. Rule under the headings.
    y += 0.2;
    setTop(layout, QStringLiteral("rvhlineItems"), y);

    // 14. Signature block.
    layout.band(QStringLiteral("BandSignatureData")).visible = data.blSignatureLine;
    layout.setParameter(QStringLiteral("rvstrAcceptanceInfo"), settings.strAcceptanceInfo);
    layout.element(QStringLiteral("rvrecAcceptanceInfo")).fill = colorOf(settings.intAccptColor);

    // 15. Footer. A foot note number outside 0..3 prints no foot note.
    ReportElement& footer = layout.element(QStringLiteral("rvrecFooter"));
    footer.fill = typeColor;
    const int footNote = data.intFootNote;
    layout.setParameter(QStringLiteral("rvstrInvFootNotes"),
                        footNote >= 0 && footNote <= 3 ? settings.strInvFootNote[std::size_t(footNote)] : QString());

    // 16. Totals: labels always, amounts only where the document shows money.
    layout.setParameter(QStringLiteral("rvstrDepositPaidHdng"), data.strDepositPaidHdng);
    layout.setParameter(QStringLiteral("rvstrSubTotalHdng"), QStringLiteral("Sub Total"));
    layout.setParameter(QStringLiteral("rvstrTaxHdng"), QStringLiteral("Tax Total"));
    layout.setParameter(QStringLiteral("rvstrTotalHdng"), data.strTotalHdng);
    const bool showAmounts = !input.manualForm && (!workOrder || settings.blShowTotalonWO);
    layout.setParameter(QStringLiteral("rvstrDepositPaid"), showAmounts ? data.strDepositPaid : QString());
    layout.setParameter(QStringLiteral("rvstrSubTotal"), showAmounts ? data.strSubTotal : QString());
    layout.setParameter(QStringLiteral("rvstrTax"), showAmounts ? data.strTax : QString());
    layout.setParameter(QStringLiteral("rvstrTotal"), showAmounts ? data.strTotal : QString());

    // 17. Line area: from under the rule to 0.15 above the footer; on a blank
    // form just the signature band's height, right above the footer.
    ReportRegion& lines = layout.regionNamed(QStringLiteral("RegionInvoiceData"));
    const double footerTop = footer.rect.top();
    if (!input.manualForm) {
        lines.rect.setTop(y + 0.05);
        lines.rect.setHeight(footerTop - 0.2 - y);
    } else {
        const double height = layout.band(QStringLiteral("BandSignatureData")).height;
        lines.rect.setTop(footerTop - 0.2 - height);
        lines.rect.setHeight(height);
    }
    return result;
}

void pSetInvoiceData(ReportLayout& layout)
{
    const TInvoiceFillInput input = CurrentInvoiceFillInput();
    const TInvoiceFillResult result = FillInvoiceLayout(layout, input);
    if (!result.unreadableLogo.isEmpty()) SayOnceLogoUnreadable(input.logoPath, result.unreadableLogo);
}
