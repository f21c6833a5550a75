// Copies that stay out of the history: those of the programs on the list
// (password managers by default), and the one copy after "don't record
// the next copy".
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "program_test.h"

using namespace e2e;

namespace {

constexpr WPARAM kSkipNextCopy = 1160;  // the menus' "don't record the next copy"

class Privacy : public ProgramTest {
 protected:
  // The test editor under another file name: another program to Windows.
  std::unique_ptr<Editor> Program(const wchar_t* name, const char* title, RECT place) {
    const std::wstring exe = dir_.File(name);
    EXPECT_TRUE(Succeeded(CopyFileW(Editor::BuiltPath().c_str(), exe.c_str(), FALSE)));
    auto editor = std::make_unique<Editor>(title, place, exe);
    EXPECT_TRUE(editor->Start());
    return editor;
  }
  // The program's edit control copies its text, as Ctrl+C there does,
  // and Kopiwell has then taken the change.
  void CopyIn(Editor& program, const std::string& text) {
    SendMessageA(program.Edit(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(program.Edit(), EM_SETSEL, 0, -1);
    SendMessageW(program.Edit(), WM_COPY, 0, 0);
    ASSERT_TRUE(app_.Settle());
  }

  Kopiwell app_{dir_.Path()};
};

}  // namespace

TEST_F(Privacy, ListedProgramsAndTheCopyAfterSkipNextAreLeftOut) {
  HWND list = START_READY(app_);
  auto vault = Program(L"KeePassXC.exe", "vault", {40, 40, 400, 300});
  auto notes = Program(L"Notes.exe", "notes", {440, 40, 800, 300});
  ASSERT_NO_FATAL_FAILURE(CopyIn(*vault, "secret 1"));
  ASSERT_NO_FATAL_FAILURE(CopyIn(*notes, "visible 2"));  // the same program, another name
  ASSERT_TRUE(WaitRows(list, 1));

  // Without an owner window, the program in front placed the content.
  ASSERT_TRUE(vault->Activate());
  ASSERT_TRUE(CopyText("secret 3"));
  ASSERT_TRUE(app_.Settle());
  ASSERT_NO_FATAL_FAILURE(CopyIn(*notes, "visible 4"));

  ASSERT_TRUE(app_.Post(WM_COMMAND, kSkipNextCopy));
  ASSERT_TRUE(app_.Sync());
  ASSERT_NO_FATAL_FAILURE(CopyIn(*notes, "secret 5"));
  ASSERT_NO_FATAL_FAILURE(CopyIn(*notes, "visible 6"));  // disarmed after one
  ASSERT_TRUE(WaitRows(list, 3));
  GOODBYE(app_);
  EXPECT_EQ(Hex(DataFile({"visible 2", "visible 4", "visible 6"})), Hex(ReadFileBytes(Data())));
}
