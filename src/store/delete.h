// Deleting entries: their rows leave the list, their records stay in the
// working file until the save at exit, and their offsets go to the put
// buffer, so that a put can bring them back elsewhere (cut and paste
// within the list). The marks follow the rows that remain.
#pragma once

// Deletes rows first to last (either order). Returns 0, or -1, changing
// nothing, when a row does not exist or memory ran out (g_tdbError
// kErrNoMemory).
int DeleteClip(int first, int last);

// Deletes every selected row. Returns 0, or -1 with the list error code
// kListErrDeleteNoSelection when no row is selected (nothing changes).
int DeleteSelClip();
