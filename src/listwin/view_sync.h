// The list view is its store's row observer: while the list window
// exists, every change of the rows is reflected in the view's count and
// states, and the list's marks move with their rows.
#pragma once

#include <windows.h>

#include <memory>

#include "store/row_observer.h"

struct ListRows;

// A list the view stops showing keeps its cursor, selection and top row;
// the list it shows then takes its own back into the view.
void KeepStates(HWND view, ListRows& rows);
void ShowStates(HWND view, const ListRows& rows);

// Makes the view the observer of the list's store, for as long as the
// observer given back lives; the caller takes the store's observer away
// before it goes.
std::unique_ptr<RowObserver> StartViewSync(HWND view, ListRows& rows);
