// The download as a Windows user gets it: the zip unpacked into a fresh
// folder, the program started from there as a double-click in Explorer
// starts it (its own folder as the current directory).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <set>
#include <string>

#include "driver.h"
#include "resource.h"
#include "version.h"

using namespace e2e;

namespace {

std::set<std::wstring> FilesIn(const std::wstring& dir) {
  std::set<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

// The version Explorer's properties show: the fixed numbers and the text.
void ExpectVersionResource(const char* file, int line, const std::wstring& exe) {
  ::testing::ScopedTrace trace(file, line, "ExpectVersionResource");
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  ASSERT_NE(0u, size) << "no version resource";
  std::string block(size, '\0');
  ASSERT_TRUE(Succeeded(GetFileVersionInfoW(exe.c_str(), 0, size, &block[0])));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(&block[0], L"\\", reinterpret_cast<void**>(&fixed), &length))
      << "a version resource of " << size << " bytes without its fixed part";
  EXPECT_EQ(static_cast<DWORD>(MAKELONG(KW_VERSION_MINOR, KW_VERSION_MAJOR)),
            fixed->dwFileVersionMS);
  wchar_t* text = nullptr;
  ASSERT_TRUE(VerQueryValueW(&block[0], L"\\StringFileInfo\\041104B0\\ProductVersion",
                             reinterpret_cast<void**>(&text), &length))
      << "no ProductVersion in the Japanese string table";
  EXPECT_EQ(Widen(KW_VERSION_TEXT), std::wstring(text));
}

}  // namespace

#define EXPECT_VERSION_RESOURCE(exe) \
  ASSERT_NO_FATAL_FAILURE(ExpectVersionResource(__FILE__, __LINE__, exe))

TEST(Package, RunsFromItsUnpackedFolderAndKeepsItsFilesThere) {
  const char* unpacked = std::getenv("KW_PACKAGE_DIR");
  ASSERT_NE(nullptr, unpacked) << "KW_PACKAGE_DIR names the unpacked package's folder";
  const std::wstring unpackedDir = WindowsPath(unpacked);
  const std::set<std::wstring> shipped = {L"kopiwell.exe", L"kopiwell.html", L"readme.txt"};
  ASSERT_EQ(shipped, FilesIn(unpackedDir));
  // The user's own copy of the folder, so that every run starts afresh.
  TempDir folder;
  for (const std::wstring& name : shipped)
    ASSERT_TRUE(Succeeded(CopyFileW((unpackedDir + L"\\" + name).c_str(),
                                    folder.File(name.c_str()).c_str(), TRUE)))
        << Narrow(name);
  const std::wstring dir = folder.Path();
  const std::wstring exe = folder.File(L"kopiwell.exe");
  EXPECT_VERSION_RESOURCE(exe);

  Kopiwell app(dir, exe);
  ASSERT_TRUE(app.Start());
  HWND welcome = nullptr;
  ASSERT_TRUE(WaitDialog(app.Pid(), Widen("コピウェル"), &welcome))
      << "a first start greets the user";
  PressButton(welcome, IDOK);
  ASSERT_TRUE(app.WaitReady());

  // The About box names the same version.
  ASSERT_TRUE(app.Post(WM_COMMAND, 1001));
  HWND about = nullptr;
  ASSERT_TRUE(WaitDialog(app.Pid(), Widen("コピウェル - バージョン情報"), &about));
  const std::wstring title = Widen("コピウェル for Windows95 Ver" KW_VERSION_TEXT);
  EXPECT_NE(nullptr, FindWindowExW(about, nullptr, L"Static", title.c_str()));
  PressButton(about, IDOK);
  ASSERT_TRUE(WaitUntil(
      "the About box to go", [&] { return !IsWindow(about); }, [&] { return app.State(); }));

  ASSERT_TRUE(app.Goodbye());
  DWORD code = 0;
  ASSERT_TRUE(app.WaitExit(&code));
  EXPECT_EQ(1u, code);
  // Settings, history and phrases beside the program; no working file left.
  EXPECT_EQ((std::set<std::wstring>{L"kopiwell.exe", L"kopiwell.html", L"readme.txt",
                                    L"kopiwell.ini", L"clip.dat", L"phrase.dat"}),
            FilesIn(dir));
}
