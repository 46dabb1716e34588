#pragma once
// The contract and the warranty: one row of tblContractWarranty holds both, each
// with its title. The screen edits one of them at a time; these functions read
// and write that one, with lines separated by CR LF in the stored text.
#include "db/unitRecordVersion.h"

#include <QString>

struct TContractWarrantyText {
    QString strTitle;
    QString strText;   // lines separated by CR LF, as stored
};

// "Contract" for mode 1, "Warranty" for any other value.
QString ContractWarrantyModeName(int mode);

// The title and text of the contract (mode 1) or the warranty (mode 0); with
// version, those two values as read, for the save's check.
TContractWarrantyText LoadContractWarranty(int mode, TRecordVersion* version = nullptr);

// Writes the title and text of the contract (mode 1) or the warranty (mode 0),
// leaving the other one as it is. Values are bound, so quotes, ";" and line
// breaks are stored exactly. Throws AppError when nothing could be written.
// With an opened version (from LoadContractWarranty), a text another seat
// changed since is refused (EditConflictError) and nothing is written; after
// the save the version is what was written.
void SaveContractWarranty(int mode, const TContractWarrantyText& value, TRecordVersion* opened = nullptr);

// Stored text (CR LF) to the editor's lines (LF) and back.
QString StoredTextToEditor(const QString& stored);
QString EditorTextToStored(const QString& edited);
