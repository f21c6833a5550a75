// The phrase list's file, opened and saved beside the history's. The
// phrases never stop the program: when they cannot be opened or saved the
// user is told, and the history works as always.
#pragma once

// Takes up what a run that did not end normally added, makes an empty
// phrase.dat at the first start, and opens it.
void OpenPhrases();
// Saves and closes the phrases when they are open; false when phrase.dat
// could not be written: they then stay open, and the old file stands.
bool SavePhrases();
// Tells what opening them found: a leftover kept aside, a damaged file,
// or that they could not be opened at all. Each is told once.
void ReportPhraseNotices();
