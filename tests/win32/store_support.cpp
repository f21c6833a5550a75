#include "win32/store_support.h"

#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "listwin/listwin.h"
#include "store/record_format.h"
#include "store/store.h"

std::string Int32Bytes(std::int32_t value) {
  unsigned char b[4];
  record_format::EncodeInt32(value, b);
  return std::string(reinterpret_cast<char*>(b), 4);
}

std::string Record(const std::string& text) {
  return Int32Bytes(static_cast<std::int32_t>(text.size())) + text;
}

std::string DataFile(const std::vector<std::string>& texts) {
  std::string bytes = Int32Bytes(static_cast<std::int32_t>(texts.size()));
  for (const std::string& t : texts) bytes += Record(t);
  return bytes;
}

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

std::string Hex(const std::string& bytes) {
  std::ostringstream out;
  for (unsigned char c : bytes) {
    char b[4];
    std::snprintf(b, sizeof b, "%02X ", c);
    out << b;
  }
  return out.str();
}

int RowCount(HWND list) { return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

std::int32_t RowOffset(HWND list, int row) {
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return static_cast<std::int32_t>(item.lParam);
}

std::string RowLabel(HWND list, int row) {
  char text[512] = {};
  LVITEMA item = {};
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

namespace {

void RemoveTree(const std::string& dir) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = dir + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(dir.c_str());
}

}  // namespace

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
  RemoveTree(dir_);
}

HANDLE StoreTest::Open() {
  store_ = tdb_open(kBaseName, list_);
  return store_;
}
