// What a row of the list shows of its entry: the start of its text, with
// each line break and tab drawn as one visible mark (the list's font
// would draw a box for each of their characters). Only the display
// changes; the text and its record stay as they are.
#pragma once

#include <string>


// "↵" for a line break (CR LF, or a CR or LF alone), "→" for a tab.
std::u16string MarkBreaksAndTabs(const std::u16string& label);
