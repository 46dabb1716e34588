#pragma once
// A fresh program database for one test: makes the data and temp folders,
// deletes any database file, builds the database with its default rows and
// loads the company settings into memory. A test program run on the server
// (common/TestServer.h) gets the same in its own server database instead.
#include <QDate>
#include <QString>

#include <functional>

void CreateTestDatabase();
// The same, with the sample planner activities placed around the given day.
void CreateTestDatabase(const QDate& today);

// Opens a screen through `open` (a dispatch function) while another
// connection holds the database exclusively, as another program would; true
// when the screen closed itself at once. Were it still open, it is closed, and
// a question it asks then gets the answer queued by the caller.
bool ClosesItselfWhileLocked(const std::function<void()>& open);

// Runs the open progress notice's remaining ticks at once, so it closes now.
void RunOutSavingNotice();

// Overwrites the root page of `table` in the database file at `path` with
// bytes no page can hold, the way a failing disk damages a file: reading that
// table then fails with the engine's "database disk image is malformed".
void DamageRootPage(const QString& path, const QString& table);
