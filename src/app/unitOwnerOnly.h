#pragma once
// The data folder holds the database with the mail password, the customers'
// documents in TempFolder and the backups: none of it is for other accounts.

// Takes every right of group and others from the data folder, TempFolder,
// Backups/ and the database files in them (Fennick.db with its journal, the
// copies a restore kept, the daily backups), whenever they were made. The
// owner's own rights stay as they are. Run at every start.
void RestrictDataFolderToOwner();
