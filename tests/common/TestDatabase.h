#pragma once
// A fresh program database for one test: makes the data and temp folders,
// deletes any database file, builds the database with its default rows and
// loads the company settings into memory. A test program run on the server
// (common/TestServer.h) gets the same in its own server database instead.
#include <QDate>

void CreateTestDatabase();
// The same, with the sample planner activities placed around the given day.
void CreateTestDatabase(const QDate& today);

// Runs the open progress notice's remaining ticks at once, so it closes now.
void RunOutSavingNotice();
