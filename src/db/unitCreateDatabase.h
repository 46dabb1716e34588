#pragma once

// First-run creation: builds the database file with its thirteen tables and
// default rows. Called by the start-up sequence only when no file exists.
void CreateDatabase();
