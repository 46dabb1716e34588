#pragma once
// The seven stored report layouts of the print module. LoadReportProject gives
// a fresh copy every time, so each output run starts from the layouts as stored.
#include "printing/unitReportLayout.h"

#include <vector>

ReportLayout ReportInvoiceLayout();
ReportLayout ReportPriceSheetLayout();
ReportLayout ReportCustomerListLayout();
ReportLayout ReportPlannerLayout();
ReportLayout ReportContractLayout();
ReportLayout ReportWarrantyLayout();
ReportLayout ReportTaxSalesReportLayout();

struct ReportProject {
    std::vector<ReportLayout> reports;
    // The report of that name, or null when the project has none.
    ReportLayout* report(const QString& name);
};

ReportProject LoadReportProject();
