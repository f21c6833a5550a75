// The list view is its store's row observer: while the list window
// exists, every change of the rows is reflected in the view's count and
// states, and the marks move with their rows.
#pragma once

#include <windows.h>

#include <memory>

#include "store/row_observer.h"

class Store;

// Makes the view the store's observer, for as long as the observer given
// back lives; the caller takes the store's observer away before it goes.
std::unique_ptr<RowObserver> StartViewSync(HWND view, Store& store);
