#pragma once
// Writing the company settings: the four settings tables in one transaction,
// then the logo file (company/unitLogoFile.h), then the settings in memory.
#include "company/unitCompanyData.h"
#include "company/unitEInvoiceSettings.h"
#include "db/unitRecordVersion.h"
#include "planner/unitPlannerSettings.h"

#include <QImage>
#include <QString>
#include <array>
#include <cstdint>

// Everything the company screen edits, as it stands on the screen.
struct TCompanySettings {
    TrecCompanyData company;
    TrecCmpnyInvData invData;                    // strInvFootNote[0] is not stored
    std::array<std::uint32_t, 7> typeColors{};   // index 1 to 6, as arrInvTypeColor
    TrecPlannerSettings planner;
    TrecEInvoiceSettings einvoice;
};

// What happens to the logo file with a save.
struct TLogoChange {
    bool changed = false;   // false: the file is left as it is
    QImage picture;         // when changed: the new logo, or a null image to remove it
};

// Writes tblCompanyInfo, tblCompanyInvData (not the document counter),
// tblCompColorData, tblPlannerSettings and tblEInvoiceSettings in one transaction. Only after the
// commit is the logo moved into place (it is first written beside it under
// another name) or deleted, and the settings in memory take the new values.
// A failure before the commit leaves the four tables, the logo file and the
// settings in memory as they were, and throws. On a seat that uses a server the
// logo is stored in the database instead, inside the same transaction.
// With an opened version (from ReadCompanySettingsVersion), settings another
// seat changed since are refused (EditConflictError) and nothing is written;
// after the save the version is what was written.
void SaveCompanySettings(const TCompanySettings& settings, const TLogoChange& logo,
                         TRecordVersion* opened = nullptr);

// The stored settings rows as they are now, for the save's check: all the
// company screen edits, the document counter left out (every document saved
// advances it).
TRecordVersion ReadCompanySettingsVersion();

// Reads the settings in memory again from the database (company profile,
// taxes, terms, foot notes, colours, e-invoice settings). The main window's
// foot note slot 0 is kept.
void ReloadCompanySettings();

// Before a screen opens and before a document is printed, written to PDF or
// e-mailed: when the stored settings differ from those in memory (another
// seat saved them), they are read again, so what another seat saved is used
// from the next screen, print or e-mail on. Unchanged settings are not read
// again; a database that cannot be read just now leaves those in memory.
void UseStoredCompanySettings();
// The same with the settings rows' version just read (ReadCompanySettingsVersion).
void UseStoredCompanySettings(const TRecordVersion& stored);

// The settings in memory as one record (planner settings read from the database).
TCompanySettings CurrentCompanySettings();
