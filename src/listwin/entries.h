// Making and deleting the history's entries as the list shows them: the
// store's rows and records, the marks and the selection kept together.
#pragma once

#include <string>

// What InsertClip could not do.
enum InsertFailure : int {
  kInsertNoRow = -1,     // no row was inserted
  kInsertNoRecord = -2,  // the record could not be written; the row was taken back
};

// Inserts a new entry with the text at the row of the list shown.
// Returns 0, or an InsertFailure with the store's error code set; the
// list is then as it was.
int InsertClip(int row, const std::string& text);

// Inserts a new entry with the text at the row. False when it could not
// be made: the history is as it was and the user has been told why (a
// full working file or disk plainly, anything else as a fatal error).
bool InsertClipOrFail(int row, const std::string& text);

// After a failed InsertClip: tells the user (once the message loop runs)
// of a failure the user can mend, a full working file or disk or memory
// that ran out. False, telling nothing, for any other failure.
bool ReportPlainInsertFailure();

// Adds the text (a record's text: it may hold a Unicode copy) as a new entry, as a capture does: at the top when the
// list shows the newest first, else at the bottom, the marks staying on
// their entries. False when it could not be stored; the user is told once
// (the main window shows the message later).
bool AddClip(const std::string& text);

// Deleting entries: their rows leave the list, their records stay in the
// working file until the save at exit, and their offsets go to the put
// buffer, so that a put can bring them back elsewhere (cut and paste
// within the list). The marks follow the rows that remain.
//
// Deletes rows first to last (either order). Returns 0; -1, changing
// nothing, when a row does not exist; kDeleteNoMemory, changing nothing,
// when memory ran out.
constexpr int kDeleteNoMemory = -2;
int DeleteClip(int first, int last);

// Deletes every selected row. Returns 0, or -1 with the list error code
// kListErrDeleteNoSelection when no row is selected, or kDeleteNoMemory
// (nothing changes either way).
int DeleteSelClip();
