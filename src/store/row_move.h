// Moving rows one place up or down among the rest, as the user reorders
// a list: the places that change and the row that ends up in each. No
// window system here, so that it is tested anywhere.
#pragma once

#include <vector>

// For the rows (ascending, distinct) of a list of `count` rows moved one
// place up (by -1) or down (by 1), a run of rows as a whole and the row
// they pass going round them: the first place that changes, and for each
// place from there the row that was before the move where it is now.
// False when a row would leave the list or none is given.
bool MoveOrder(const std::vector<int>& rows, int by, int count, int* first,
               std::vector<int>* order);
