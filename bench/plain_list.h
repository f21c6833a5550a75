// The floor the benchmarks hold the program's list against: a plain
// report list view that holds its rows itself.
#pragma once

#include <windows.h>
#include <commctrl.h>

// Gives the list one wide column and `rows` rows of the label, with
// redrawing off while they go in.
inline void FillPlainList(HWND list, int rows, const char* label) {
  LVCOLUMNW column = {};
  column.mask = LVCF_WIDTH;
  column.cx = 468;
  SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  for (int i = 0; i < rows; ++i) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    item.pszText = const_cast<char*>(label);
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}
