#include "win32/store_support.h"

#include <commctrl.h>

#include "common/last_error.h"

#include "listwin/listwin.h"
#include "listwin/put_buffer.h"
#include "store/store.h"

std::string WorkBytes(const Store& store) {
  SetFilePointer(store.Work(), 0, nullptr, FILE_BEGIN);
  return ReadToEnd(store.Work());
}


// The list view holds no rows of its own; the store's index does.
std::int32_t RowOffset(HWND, int row) { return tdb_rowoffset(History(), row); }

std::string RowLabel(HWND list, int row) {
  char text[512] = {};
  LVITEMA item = {};
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

void StoreTest::SetUp() {
  char buffer[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, buffer);
  previousDir_ = buffer;
  GetTempPathA(MAX_PATH, buffer);
  char unique[MAX_PATH];
  GetTempFileNameA(buffer, "kws", 0, unique);  // reserves a unique name
  DeleteFileA(unique);
  dir_ = unique;
  ASSERT_TRUE(CreateDirectoryA(dir_.c_str(), nullptr)) << dir_;
  ASSERT_TRUE(Succeeded(SetCurrentDirectoryA(dir_.c_str()))) << dir_;

  ASSERT_NE(nullptr, CreateListWindow());
  list_ = TheListWindow().view;
  ASSERT_NE(nullptr, list_);
  ThePutBuffer().Clear();
  store_.ClearError();  // none left from an earlier test
  store_.TakeLoadDamage();
  store_.TakeKeptLeftover();
}

void StoreTest::TearDown() {
  store_.Abandon();
  if (TheListWindow().hwnd) DestroyWindow(TheListWindow().hwnd);
  ThePutBuffer().Clear();
  SetCurrentDirectoryA(previousDir_.c_str());
  RemoveTree(FromAnsi(dir_));
}

HANDLE StoreTest::Open() { return tdb_open(store_); }
