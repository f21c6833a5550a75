// Taking rows of the list shown into the fixed phrases, and moving rows
// up and down within a list: the two ways the user orders the phrases.
#pragma once

// Adds the rows first..last (either order), or every selected row in
// multi-selection mode, in their order at the end of the phrases; the
// list says how many for a few seconds. False when there is no such row
// (nothing changes); a failure of the phrases' file is told and gives
// true.
bool AddToPhrases(int first, int last);

// Moves the selected rows, or the cursor row when no more than it is
// selected, one place up (by -1) or down (by 1); the rows keep their
// selection and the cursor. False when a row would leave the list.
bool MoveChosenRows(int by);
