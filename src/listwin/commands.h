// Running the commands of the vi-like key modes, the fixed sequences of
// the Delete key and Ctrl+C, and the list's context menu.
#pragma once

// Runs one whole command: `sequence` (a count in front included) by the
// table of the key-table version ("1.5a" or "1.9"). Returns 1 when it ran,
// 0 when it was refused; a refused command changes nothing but the output
// action of the copy commands.
int DoKeySeq(const char* version, const char* sequence);

// The 1.5a dispatch: one-letter commands without counts.
int DoKeySeqOld(const char* sequence);

// The repeat register holds the last command that "." runs again.
void ClearRepeatRegister();
const char* RepeatRegister();
