#include "documents/unitEInvoice.h"

#include "app/AppError.h"
#include "app/unitRegional.h"
#include "company/unitEInvoiceRules.h"
#include "documents/unitEInvoiceAmounts.h"

#include <QRegularExpression>
#include <QXmlStreamWriter>

namespace {

const QString kRsm = QStringLiteral("urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100");
const QString kRam = QStringLiteral("urn:un:unece:uncefact:data:standard:ReusableAggregateBusinessInformationEntity:100");
const QString kUdt = QStringLiteral("urn:un:unece:uncefact:data:standard:UnqualifiedDataType:100");
const QString kQdt = QStringLiteral("urn:un:unece:uncefact:data:standard:QualifiedDataType:100");

const char* const kCategoryCodes[] = {"S", "Z", "E"};

// XML 1.0 cannot carry most control characters; a pasted one is dropped.
QString XmlSafe(const QString& text)
{
    QString safe;
    safe.reserve(text.size());
    for (const QChar c : text)
        if (c.unicode() >= 0x20 || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            safe.append(c);
    return safe.trimmed();
}

QString DateText(const QDate& date) { return date.toString(QStringLiteral("yyyyMMdd")); }

// The number of the invoice a credit was made from ("Invoice 1005" -> "1005").
QString SourceDocumentNumber(const QString& sourceReference)
{
    const QString last = sourceReference.section(QLatin1Char(' '), -1);
    return last.isEmpty() ? sourceReference : last;
}

class CiiWriter {
public:
    explicit CiiWriter(QByteArray& out) : m_xml(&out)
    {
        m_xml.setAutoFormatting(true);
        m_xml.setAutoFormattingIndent(1);
    }
    QXmlStreamWriter& xml() { return m_xml; }

    void open(const QString& ns, const QString& name) { m_xml.writeStartElement(ns, name); }
    void close() { m_xml.writeEndElement(); }
    void text(const QString& name, const QString& value) { m_xml.writeTextElement(kRam, name, XmlSafe(value)); }
    // An element only when its text is not empty.
    void optionalText(const QString& name, const QString& value)
    {
        if (!XmlSafe(value).isEmpty()) text(name, value);
    }
    void textWithAttribute(const QString& name, const QString& value, const QString& attribute,
                           const QString& attributeValue)
    {
        open(kRam, name);
        m_xml.writeAttribute(attribute, attributeValue);
        m_xml.writeCharacters(XmlSafe(value));
        close();
    }
    void dateTime(const QString& name, const QDate& date)
    {
        open(kRam, name);
        m_xml.writeStartElement(kUdt, QStringLiteral("DateTimeString"));
        m_xml.writeAttribute(QStringLiteral("format"), QStringLiteral("102"));
        m_xml.writeCharacters(DateText(date));
        close();
        close();
    }

private:
    QXmlStreamWriter m_xml;
};

struct TPartyData {
    QString strName;
    QString strContactName;
    QString strPhone;
    QString strEmail;
    QString strZip;
    QString strLineOne;
    QString strLineTwo;
    QString strCity;
    QString strCountry;
    QString strState;
    QString strVatId;
    QString strTaxNumber;
    QString strSellerId;   // BT-29
};

void WriteParty(CiiWriter& w, const QString& element, const TPartyData& p)
{
    w.open(kRam, element);
    w.optionalText(QStringLiteral("ID"), p.strSellerId);
    w.text(QStringLiteral("Name"), p.strName);
    if (!XmlSafe(p.strContactName).isEmpty() || !XmlSafe(p.strPhone).isEmpty() || !XmlSafe(p.strEmail).isEmpty()) {
        w.open(kRam, QStringLiteral("DefinedTradeContact"));
        w.optionalText(QStringLiteral("PersonName"), p.strContactName);
        if (!XmlSafe(p.strPhone).isEmpty()) {
            w.open(kRam, QStringLiteral("TelephoneUniversalCommunication"));
            w.text(QStringLiteral("CompleteNumber"), p.strPhone);
            w.close();
        }
        if (!XmlSafe(p.strEmail).isEmpty()) {
            w.open(kRam, QStringLiteral("EmailURIUniversalCommunication"));
            w.text(QStringLiteral("URIID"), p.strEmail);
            w.close();
        }
        w.close();
    }
    w.open(kRam, QStringLiteral("PostalTradeAddress"));
    w.optionalText(QStringLiteral("PostcodeCode"), p.strZip);
    w.optionalText(QStringLiteral("LineOne"), p.strLineOne);
    w.optionalText(QStringLiteral("LineTwo"), p.strLineTwo);
    w.optionalText(QStringLiteral("CityName"), p.strCity);
    w.text(QStringLiteral("CountryID"), p.strCountry);
    w.optionalText(QStringLiteral("CountrySubDivisionName"), p.strState);
    w.close();
    if (!XmlSafe(p.strEmail).isEmpty()) {
        w.open(kRam, QStringLiteral("URIUniversalCommunication"));
        w.textWithAttribute(QStringLiteral("URIID"), p.strEmail, QStringLiteral("schemeID"), QStringLiteral("EM"));
        w.close();
    }
    for (const auto& [id, scheme] : {std::pair{p.strVatId, QStringLiteral("VA")}, std::pair{p.strTaxNumber, QStringLiteral("FC")}}) {
        if (id.isEmpty()) continue;
        w.open(kRam, QStringLiteral("SpecifiedTaxRegistration"));
        w.textWithAttribute(QStringLiteral("ID"), id, QStringLiteral("schemeID"), scheme);
        w.close();
    }
    w.close();
}

TPartyData SellerParty(const TEInvoiceSource& source)
{
    const TrecCompanyData& c = source.company;
    TPartyData seller;
    seller.strName = c.strCompName;
    seller.strPhone = c.strCompPhone;
    seller.strEmail = c.strCompEmail;
    seller.strZip = c.strCompZip;
    seller.strLineOne = c.strCompAddress;
    seller.strCity = c.strCompCity;
    seller.strState = c.strCompState;
    seller.strCountry = source.settings.strSellerCountry;
    seller.strVatId = CompactIdentifier(source.settings.strSellerVatId);
    seller.strTaxNumber = source.settings.strSellerTaxNumber.trimmed();
    // A seller known by a tax number only is identified by it (a buyer's
    // system needs one of seller id, legal registration or VAT ID).
    if (seller.strVatId.isEmpty()) seller.strSellerId = seller.strTaxNumber;
    return seller;
}

TPartyData BuyerParty(const TInvDocument& document)
{
    const TInvHeader& h = document.header;
    TPartyData buyer;
    const bool hasCompany = !h.strCustCmpnyName.trimmed().isEmpty();
    buyer.strName = hasCompany ? h.strCustCmpnyName : h.strCustFullName;
    if (hasCompany) buyer.strContactName = h.strCustFullName;
    buyer.strEmail = h.strCustEmail;
    // The document keeps the customer block as printed lines.
    buyer.strLineOne = h.strCustAddress;
    buyer.strLineTwo = h.strCustCtyStZp;
    buyer.strCountry = document.buyer.strBuyerCountry;
    buyer.strVatId = CompactIdentifier(document.buyer.strBuyerVatId);
    return buyer;
}

void WriteLine(CiiWriter& w, int number, const TEInvoiceLine& line, double rate)
{
    w.open(kRam, QStringLiteral("IncludedSupplyChainTradeLineItem"));
    w.open(kRam, QStringLiteral("AssociatedDocumentLineDocument"));
    w.text(QStringLiteral("LineID"), QString::number(number));
    w.close();
    w.open(kRam, QStringLiteral("SpecifiedTradeProduct"));
    const QString name = XmlSafe(line.strName);
    w.text(QStringLiteral("Name"), name.isEmpty() ? QStringLiteral("Item") : name);
    w.close();
    w.open(kRam, QStringLiteral("SpecifiedLineTradeAgreement"));
    w.open(kRam, QStringLiteral("NetPriceProductTradePrice"));
    w.text(QStringLiteral("ChargeAmount"), DecimalText(line.unitPrice, 6));
    w.close();
    w.close();
    w.open(kRam, QStringLiteral("SpecifiedLineTradeDelivery"));
    w.textWithAttribute(QStringLiteral("BilledQuantity"), DecimalText(line.quantity, 6), QStringLiteral("unitCode"),
                        QStringLiteral("C62"));
    w.close();
    w.open(kRam, QStringLiteral("SpecifiedLineTradeSettlement"));
    w.open(kRam, QStringLiteral("ApplicableTradeTax"));
    w.text(QStringLiteral("TypeCode"), QStringLiteral("VAT"));
    w.text(QStringLiteral("CategoryCode"), QLatin1String(kCategoryCodes[int(line.category)]));
    w.text(QStringLiteral("RateApplicablePercent"),
           line.category == TVatCategory::Standard ? DecimalText(rate * 100, 2) : QStringLiteral("0"));
    w.close();
    w.open(kRam, QStringLiteral("SpecifiedTradeSettlementLineMonetarySummation"));
    w.text(QStringLiteral("LineTotalAmount"), CentsText(line.netCents));
    w.close();
    w.close();
    w.close();
}

void WriteTaxBreakdown(CiiWriter& w, const TEInvoiceSource& source, const TEInvoiceAmounts& amounts)
{
    const TInvHeader& h = source.document.header;
    for (int category = 0; category < 3; ++category) {
        if (!amounts.categoryPresent[std::size_t(category)]) continue;
        const bool standard = TVatCategory(category) == TVatCategory::Standard;
        w.open(kRam, QStringLiteral("ApplicableTradeTax"));
        w.text(QStringLiteral("CalculatedAmount"), CentsText(standard ? amounts.taxCents : 0));
        w.text(QStringLiteral("TypeCode"), QStringLiteral("VAT"));
        if (TVatCategory(category) == TVatCategory::Exempt) {
            const QString number = XmlSafe(h.strCustTaxExemptNum);
            w.text(QStringLiteral("ExemptionReason"),
                   number.isEmpty() ? QStringLiteral("Tax exempt")
                                    : QStringLiteral("Tax exempt, exemption number %1").arg(number));
        }
        w.text(QStringLiteral("BasisAmount"), CentsText(amounts.basisCents[std::size_t(category)]));
        w.text(QStringLiteral("CategoryCode"), QLatin1String(kCategoryCodes[category]));
        w.text(QStringLiteral("RateApplicablePercent"),
               standard ? DecimalText(amounts.taxRate * 100, 2) : QStringLiteral("0"));
        w.close();
    }
}

void WriteSettlement(CiiWriter& w, const TEInvoiceSource& source, const TEInvoiceAmounts& amounts,
                     const QString& currency, const QDate& date)
{
    const TInvHeader& h = source.document.header;
    const bool credit = SameInvType(h.strInvName, arrInvTypeNames[itCredit]);
    w.open(kRam, QStringLiteral("ApplicableHeaderTradeSettlement"));
    w.text(QStringLiteral("PaymentReference"), InvDisplayName(h.strInvName, h.intInvNumber));
    w.text(QStringLiteral("InvoiceCurrencyCode"), currency);
    const QString iban = CompactIdentifier(source.settings.strIban);
    if (!credit && !iban.isEmpty()) {
        w.open(kRam, QStringLiteral("SpecifiedTradeSettlementPaymentMeans"));
        // 58: SEPA credit transfer; 30: credit transfer in another currency.
        w.text(QStringLiteral("TypeCode"), currency == QLatin1String("EUR") ? QStringLiteral("58") : QStringLiteral("30"));
        w.open(kRam, QStringLiteral("PayeePartyCreditorFinancialAccount"));
        w.text(QStringLiteral("IBANID"), iban);
        w.close();
        const QString bic = CompactIdentifier(source.settings.strBic);
        if (!bic.isEmpty()) {
            w.open(kRam, QStringLiteral("PayeeSpecifiedCreditorFinancialInstitution"));
            w.text(QStringLiteral("BICID"), bic);
            w.close();
        }
        w.close();
    }
    WriteTaxBreakdown(w, source, amounts);

    const QString terms = XmlSafe(h.strInvTerms);
    const std::optional<QDate> due = credit ? std::nullopt : DueDateFromTerms(terms, date);
    if (!terms.isEmpty() || due) {
        w.open(kRam, QStringLiteral("SpecifiedTradePaymentTerms"));
        w.optionalText(QStringLiteral("Description"), terms);
        if (due) w.dateTime(QStringLiteral("DueDateDateTime"), *due);
        w.close();
    }

    w.open(kRam, QStringLiteral("SpecifiedTradeSettlementHeaderMonetarySummation"));
    w.text(QStringLiteral("LineTotalAmount"), CentsText(amounts.lineTotalCents));
    w.text(QStringLiteral("TaxBasisTotalAmount"), CentsText(amounts.lineTotalCents));
    w.textWithAttribute(QStringLiteral("TaxTotalAmount"), CentsText(amounts.taxCents), QStringLiteral("currencyID"),
                        currency);
    if (amounts.roundingCents != 0) w.text(QStringLiteral("RoundingAmount"), CentsText(amounts.roundingCents));
    w.text(QStringLiteral("GrandTotalAmount"), CentsText(amounts.grandTotalCents));
    if (amounts.prepaidCents != 0) w.text(QStringLiteral("TotalPrepaidAmount"), CentsText(amounts.prepaidCents));
    w.text(QStringLiteral("DuePayableAmount"), CentsText(amounts.dueCents));
    w.close();

    if (credit && !h.strFromInvNameNumber.trimmed().isEmpty()) {
        w.open(kRam, QStringLiteral("InvoiceReferencedDocument"));
        w.text(QStringLiteral("IssuerAssignedID"), SourceDocumentNumber(h.strFromInvNameNumber.trimmed()));
        w.close();
    }
    w.close();
}

} // namespace

TEInvoiceSource CurrentEInvoiceSource(const TInvDocument& document, int footNote)
{
    TEInvoiceSource source;
    source.document = document;
    source.companyRates = {recCmpnyInvData.dbTaxRate1, recCmpnyInvData.dbTaxRate2, recCmpnyInvData.dbTaxRate3};
    if (footNote >= 1 && footNote <= 3) source.strFootNote = recCmpnyInvData.strInvFootNote[std::size_t(footNote)];
    source.company = recCompanyData;
    source.settings = recEInvoiceSettings;
    return source;
}

bool TakesEInvoice(const QString& typeName)
{
    return SameInvType(typeName, arrInvTypeNames[itInvoice]) || SameInvType(typeName, arrInvTypeNames[itCredit]);
}

QStringList EInvoiceMissing(const TEInvoiceSource& source)
{
    QStringList reasons;
    const TInvHeader& h = source.document.header;
    const int taxes = TickedTaxCount(h);
    if (taxes > 1)
        reasons << QStringLiteral("%1 taxes are ticked. They all apply to the same amounts, and an e-invoice names "
                                  "one tax rate for each amount: tick one tax only")
                       .arg(taxes == 2 ? QStringLiteral("Two") : QStringLiteral("Three"));
    const TrecEInvoiceSettings& s = source.settings;
    if (source.company.strCompName.trimmed().isEmpty())
        reasons << QStringLiteral("The company name is missing (Company Information, page Company)");
    if (s.strSellerCountry.isEmpty())
        reasons << QStringLiteral("The company's country is missing (Company Information, page E-Invoice)");
    if (CompactIdentifier(s.strSellerVatId).isEmpty() && s.strSellerTaxNumber.trimmed().isEmpty())
        reasons << QStringLiteral("The company's VAT ID or tax number is missing (Company Information, page E-Invoice)");
    for (const QString& problem : {VatIdProblem(s.strSellerVatId), CurrencyCodeProblem(EInvoiceCurrencyCode(s))})
        if (!problem.isEmpty()) reasons << problem + QStringLiteral(" (Company Information, page E-Invoice)");
    if (source.document.buyer.strBuyerCountry.isEmpty())
        reasons << QStringLiteral("The customer's country is missing: choose it on the customer's page in Customer "
                                  "Maintenance, then add the customer to this document again");
    if (const QString problem = VatIdProblem(source.document.buyer.strBuyerVatId); !problem.isEmpty())
        reasons << QStringLiteral("The customer's VAT ID is not valid. ") + problem;
    return reasons;
}

QString EInvoiceRefusalMessage(const QString& displayName, const QStringList& reasons, TEInvoiceUse use)
{
    const QString lead = use == TEInvoiceUse::Pdf
                             ? QStringLiteral("%1 is written as a plain PDF, without its e-invoice data (EN 16931):")
                             : QStringLiteral("No e-invoice file was written for %1:");
    QStringList lines{lead.arg(displayName)};
    for (const QString& reason : reasons) lines << QStringLiteral("- ") + reason + QLatin1Char('.');
    return lines.join(QLatin1Char('\n'));
}

TEInvoiceForPdf EInvoiceForPdf(const TEInvoiceSource& source)
{
    TEInvoiceForPdf result;
    const TInvHeader& h = source.document.header;
    if (!source.settings.blEInvoice || !TakesEInvoice(h.strInvName)) return result;
    const QStringList reasons = EInvoiceMissing(source);
    if (!reasons.isEmpty()) {
        result.strRefusal =
            EInvoiceRefusalMessage(InvDisplayName(h.strInvName, h.intInvNumber), reasons, TEInvoiceUse::Pdf);
        return result;
    }
    result.xml = BuildEInvoiceXml(source);
    return result;
}

QByteArray BuildEInvoiceXml(const TEInvoiceSource& source)
{
    const TInvDocument& document = source.document;
    const TInvHeader& h = document.header;
    if (const QStringList reasons = EInvoiceMissing(source); !reasons.isEmpty())
        throw AppError(EInvoiceRefusalMessage(InvDisplayName(h.strInvName, h.intInvNumber), reasons,
                                              TEInvoiceUse::XmlFile));
    const TEInvoiceAmounts amounts = ComputeEInvoiceAmounts(document, source.companyRates);
    const QString currency = CompactIdentifier(EInvoiceCurrencyCode(source.settings));
    const QDate date = StrToDate(h.strInvDate);

    QByteArray out;
    CiiWriter w(out);
    QXmlStreamWriter& xml = w.xml();
    xml.writeStartDocument();
    xml.writeNamespace(kRsm, QStringLiteral("rsm"));
    xml.writeNamespace(kRam, QStringLiteral("ram"));
    xml.writeNamespace(kUdt, QStringLiteral("udt"));
    xml.writeNamespace(kQdt, QStringLiteral("qdt"));
    w.open(kRsm, QStringLiteral("CrossIndustryInvoice"));

    w.open(kRsm, QStringLiteral("ExchangedDocumentContext"));
    w.open(kRam, QStringLiteral("GuidelineSpecifiedDocumentContextParameter"));
    w.text(QStringLiteral("ID"), QStringLiteral("urn:cen.eu:en16931:2017"));
    w.close();
    w.close();

    w.open(kRsm, QStringLiteral("ExchangedDocument"));
    w.text(QStringLiteral("ID"), QString::number(h.intInvNumber));
    w.text(QStringLiteral("TypeCode"),
           SameInvType(h.strInvName, arrInvTypeNames[itCredit]) ? QStringLiteral("381") : QStringLiteral("380"));
    w.dateTime(QStringLiteral("IssueDateTime"), date);
    for (const QString& note : {document.strInvNotes, source.strFootNote}) {
        if (XmlSafe(note).isEmpty()) continue;
        w.open(kRam, QStringLiteral("IncludedNote"));
        w.text(QStringLiteral("Content"), note);
        w.close();
    }
    w.close();

    w.open(kRsm, QStringLiteral("SupplyChainTradeTransaction"));
    int lineNumber = 0;
    for (const TEInvoiceLine& line : amounts.lines) WriteLine(w, ++lineNumber, line, amounts.taxRate);

    w.open(kRam, QStringLiteral("ApplicableHeaderTradeAgreement"));
    WriteParty(w, QStringLiteral("SellerTradeParty"), SellerParty(source));
    WriteParty(w, QStringLiteral("BuyerTradeParty"), BuyerParty(document));
    if (!XmlSafe(h.strCustPONumber).isEmpty()) {
        w.open(kRam, QStringLiteral("BuyerOrderReferencedDocument"));
        w.text(QStringLiteral("IssuerAssignedID"), h.strCustPONumber);
        w.close();
    }
    w.close();

    w.open(kRam, QStringLiteral("ApplicableHeaderTradeDelivery"));
    w.close();
    WriteSettlement(w, source, amounts, currency, date);
    w.close();   // SupplyChainTradeTransaction

    w.close();   // CrossIndustryInvoice
    xml.writeEndDocument();
    return out;
}

std::optional<QDate> DueDateFromTerms(const QString& terms, const QDate& documentDate)
{
    if (!documentDate.isValid()) return std::nullopt;
    const auto options = QRegularExpression::CaseInsensitiveOption;
    static const QRegularExpression days(QStringLiteral("(?:\\bnet\\s*(\\d{1,3})\\b|\\b(\\d{1,3})\\s*days?\\b)"), options);
    static const QRegularExpression today(QStringLiteral("\\b(receipt|completion|immediately)\\b"), options);
    static const QRegularExpression dayOfMonth(QStringLiteral("\\b(?:on|by)\\s+the\\s+(\\d{1,2})(?:st|nd|rd|th)\\b"),
                                               options);
    if (const QRegularExpressionMatch match = days.match(terms); match.hasMatch()) {
        const QString count = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
        return documentDate.addDays(count.toInt());
    }
    if (const QRegularExpressionMatch match = dayOfMonth.match(terms); match.hasMatch()) {
        const int day = match.captured(1).toInt();
        if (day < 1 || day > 31) return std::nullopt;
        QDate month(documentDate.year(), documentDate.month(), 1);
        if (documentDate.day() > std::min(day, month.daysInMonth())) month = month.addMonths(1);
        return QDate(month.year(), month.month(), std::min(day, month.daysInMonth()));
    }
    if (today.match(terms).hasMatch()) return documentDate;
    return std::nullopt;
}
