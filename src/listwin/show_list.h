// Calling up the history list for the window the user is working in, and
// taking the choice back there: ShowList remembers the control that has
// the keyboard focus, HideAndPaste hides the list and pastes into that
// control (output/paste.h).
#pragma once

#include <windows.h>

#include "listwin/copy_chosen.h"
#include "listwin/list_state.h"
#include "output/paste.h"

// What the list hands to the paste once the user has chosen.
struct OutputRequest {
  OutputText text;     // put on the clipboard first, unless it is there
  bool paste = false;  // typed into the remembered control; false: copy only
  bool stays = false;  // the list is shown again afterwards, for the next choice
};

// A choice confirmed: the text, pasted or only copied as the output
// action says, the list staying or not as `actv_hide` says.
OutputRequest Confirmation(const OutputText& text, int action);

// Shows the list on the history (or, when it is shown, brings it to the
// front again, on the history).
void ShowList();
// The same, on the fixed phrases.
void ShowPhraseList();

// Puts the request's text on the clipboard, hides the list and, when the
// request says so, pastes the clipboard into the remembered control;
// a text a command put on the clipboard ahead is used up. False, with
// the list as it was, when the text could not be made (the user has been
// told why).
bool HideAndPaste(const OutputRequest& request);

// Hides the list without pasting anything: this appearance of it ends.
void DismissList();

// The OK command: the cursor row (or the selection in multi-selection
// mode), quoted while Shift is held, unless a command has put its text
// on the clipboard already, handed over as the output action says (paste
// when none was chosen).
void ConfirmOutput();

// Enter of the command language and a double-click on a row: the OK
// command with pasting chosen and the text copied afresh.
void ConfirmPaste();

// Takes the list and the edit dialog off the screen for the rest of the
// run (a fatal error). They are hidden, not destroyed: the save at
// shutdown still reads the history's rows.
void PutListAway();
