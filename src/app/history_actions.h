// What the user does with the whole history from the tray menu, and the
// insertion of a new entry with the messages a failure calls for.
#pragma once

// Inserts a new entry with the text at the row. False when it could not
// be made: the history is as it was and the user has been told why (a
// full working file or disk plainly, anything else as a fatal error).
bool InsertClipOrFail(int row, const char* text);

// After a failed InsertClip: tells the user (once the message loop runs)
// of a failure the user can mend, a full working file or disk or memory
// that ran out. False, telling nothing, for any other failure.
bool ReportPlainInsertFailure();

// Deletes the whole history (after the user confirmed). Returns 0, or -1
// after a fatal error box.
int ClearClip();

// Replaces the history with the backup made by the start-up delete
// (after the user confirmed). Without a backup it says so and changes
// nothing; any other failure is fatal.
void RestoreClip();
