#include "win32/store_support.h"

#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "common/files.h"
#include "listwin/listwin.h"
#include "store/store.h"

std::string ReadFileBytes(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string WorkBytes(HANDLE store) {
  std::string bytes;
  SetFilePointer(store, 0, nullptr, FILE_BEGIN);
  char piece[4096];
  DWORD got = 0;
  while (ReadFile(store, piece, sizeof piece, &got, nullptr) && got > 0) bytes.append(piece, got);
  return bytes;
}

void WriteFileBytes(const std::string& name, const std::string& bytes) {
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& name) {
  return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int RowCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

// The list view holds no rows of its own; the store's index does.
std::int32_t RowOffset(HWND, int row) { return tdb_rowoffset(row); }

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
  ASSERT_TRUE(SetCurrentDirectoryA(dir_.c_str()));

  ASSERT_NE(nullptr, CreateListWindow());
  list_ = g_hListView;
  ASSERT_NE(nullptr, list_);
  tdb_buffree();
  g_tdbError = 0;
}

void StoreTest::TearDown() {
  if (store_) CloseHandle(store_);
  store_ = nullptr;
  if (g_hListWnd) DestroyWindow(g_hListWnd);
  tdb_buffree();
  SetCurrentDirectoryA(previousDir_.c_str());
  wchar_t wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, dir_.c_str(), -1, wide, MAX_PATH);
  RemoveTree(wide);
}

HANDLE StoreTest::Open() {
  store_ = tdb_open(kBaseName, list_);
  return store_;
}
