// What a row of the list shows of its entry: the start of its text, with
// each line break and tab drawn as one visible mark (the list's font
// would draw a box for each of their characters). Only the display
// changes; the text and its record stay as they are.
#pragma once

#include <string>

#include "output/shape_wide.h"

// "↵" for a line break (CR LF, or a CR or LF alone), "→" for a tab.
std::u16string MarkBreaksAndTabs(const std::u16string& label);

// The start of the text that fits in `columns`, each character counted by
// `width`; a character, a surrogate pair included, is never split.
std::u16string CutToColumns(const std::u16string& text, int columns, CharacterWidth width);
