// Support for tests of the list operations and commands: the program's
// list window with the history loaded, a main window of its own to own
// the clipboard, and readers of the states and the put buffer.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/mainwnd.h"
#include "common/clipboard.h"
#include "listwin/commands.h"
#include "listwin/listwin.h"
#include "listwin/put_buffer.h"
#include "listwin/selection.h"
#include "store/history.h"
#include "store/store.h"
#include "win32/store_support.h"

// Selects the row through the list view itself, as a Shift+click does.
inline void SelectRow(HWND list, int row) {
  LVITEMW item = {};
  item.state = item.stateMask = LVIS_SELECTED;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

inline std::vector<std::int32_t> PutRecords() { return ThePutBuffer().Records(); }

// The history's rows in a shown list window, with a main window of its
// own to own the clipboard.
class ListTest : public StoreTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(StoreTest::SetUp());
    ResetSelectionState();
    ClearRepeatRegister();
    main_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    SetMainWindow(main_);
    // On screen, as the list is while the user works in it: a hidden
    // list draws nothing and keeps no scroll position.
    ShowWindow(TheListWindow().hwnd, SW_SHOWNOACTIVATE);
  }
  void TearDown() override {
    SetMainWindow(nullptr);
    DestroyWindow(main_);
    TheListWindow().shown = false;
    StoreTest::TearDown();
  }

  void Load(const char* file, int line, const std::vector<std::string>& texts) {
    ::testing::ScopedTrace trace(file, line, "Load");
    WriteFileBytes("clip.dat", DataFile(texts));
    ASSERT_NE(nullptr, Open());
  }

  void LoadRows(const char* file, int line, int n) {
    std::vector<std::string> texts;
    for (int i = 0; i < n; ++i) texts.push_back("row " + std::to_string(i));
    Load(file, line, texts);
  }

  HWND main_ = nullptr;
};

#define LOAD(...) ASSERT_NO_FATAL_FAILURE(Load(__FILE__, __LINE__, __VA_ARGS__))
#define LOAD_ROWS(n) ASSERT_NO_FATAL_FAILURE(LoadRows(__FILE__, __LINE__, n))

