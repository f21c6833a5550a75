// A list view's rows and states, read with messages whose answers carry
// no pointers: they work on a list of this process or of another.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

inline int RowCount(HWND list) {
  return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

inline int CursorRow(HWND list) {
  return static_cast<int>(
      SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

inline std::vector<int> SelectedRows(HWND list) {
  std::vector<int> rows;
  int row = -1;
  while ((row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                              LVNI_SELECTED))) >= 0)
    rows.push_back(row);
  return rows;
}
