// The settings in a real kopiwell.ini, read and written with the system's
// own profile functions, and the two dialogs the settings show.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/first_run_ini.h"
#include "common/last_error.h"
#include "settings/info_dialogs.h"
#include "settings/ini.h"
#include "settings/settings.h"
#include "win32/dialog_answerer.h"
#include "win32/store_support.h"

namespace {

const char kIni[] = "kopiwell.ini";

// Each test runs in an empty directory with the settings at their
// defaults, and puts both back at its end.
class IniTest : public StoreTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(StoreTest::SetUp());
    saved_ = g_set;
    g_set = Settings();
  }
  void TearDown() override {
    g_set = saved_;
    StoreTest::TearDown();
  }

  // Reads the settings; a first run's welcome is answered with OK, and
  // its texts are kept in welcome_.
  int Read(const char* file, int line) {
    ::testing::ScopedTrace trace(file, line, "Read");
    DialogAnswerer answer("コピウェル", IDOK);
    const int result = ReadSettings();
    if (result == 0) {
      EXPECT_TRUE(answer.Answered()) << "a first run shows the welcome";
      welcome_ = answer.Labels();
    } else {
      answer.Cancel();
    }
    return result;
  }

  std::vector<std::string> welcome_;

 private:
  Settings saved_;
};

}  // namespace

#define READ() Read(__FILE__, __LINE__)

TEST_F(IniTest, FirstRunWritesTheMarkerFirstAndThenEveryKey) {
  ASSERT_EQ(0, READ());
  EXPECT_EQ((std::vector<std::string>{"[REG]", "reg=ok"}), Lines(ReadFileBytes(kIni)))
      << "only the marker while the welcome is shown";
  const std::vector<std::string> expectedWelcome = {
      "コピウェルをご利用いただきありがとうございます。",
      "ＯＫを押した後、トレイの中のアイコンを右クリックし、\"設定\" を選択してください。"
      "画面が表示されますので、各設定をお願いいたします。",
      "設定を行わない場合は、デフォルトの設定となります。"};
  EXPECT_EQ(expectedWelcome, welcome_);

  WriteSettings();
  EXPECT_EQ(FirstRunIniLines(), Lines(ReadFileBytes(kIni)));

  g_set.data = kDataNew;
  ASSERT_EQ(1, READ()) << "the next start is no first run";
  EXPECT_EQ(kDataOld, g_set.data);
  EXPECT_EQ(kStay, g_set.actv_hide);
  EXPECT_STREQ("1.9", g_keyVersion);
}

TEST_F(IniTest, QuotedTextsKeepTheirBlanksAndLongOnesComeBackCut) {
  ASSERT_EQ(0, READ());
  std::snprintf(g_set.inyo, sizeof g_set.inyo, "  >> ");
  std::snprintf(g_set.foot, sizeof g_set.foot, " ");
  WriteSettings();
  ASSERT_EQ(1, READ());
  EXPECT_STREQ("  >> ", g_set.inyo);
  EXPECT_STREQ(" ", g_set.foot);

  const std::string longPrefix = std::string(200, 'a') + std::string(100, 'b');
  std::snprintf(g_set.inyo, sizeof g_set.inyo, "%s", longPrefix.c_str());
  WriteSettings();
  EXPECT_NE(std::string::npos, ReadFileBytes(kIni).find("inyo=\"" + longPrefix + "\""))
      << "the file holds the whole text";
  ASSERT_EQ(1, READ());
  EXPECT_EQ(longPrefix.substr(0, 255), std::string(g_set.inyo));
}

TEST_F(IniTest, RemovingOrResettingTheMarkerMakesAFirstRunAgain) {
  ASSERT_EQ(0, READ());
  g_set.data = kDataNew;
  WriteSettings();
  ASSERT_EQ(1, READ());
  EXPECT_EQ(kDataNew, g_set.data);

  char path[MAX_PATH];
  GetFullPathNameA(kIni, MAX_PATH, path, nullptr);
  WritePrivateProfileStringA("REG", "reg", nullptr, path);  // removes the key
  EXPECT_EQ(0, READ());
  EXPECT_EQ(kDataOld, g_set.data) << "a first run reads nothing but the marker";

  WritePrivateProfileStringA("REG", "reg", "999", path);
  EXPECT_EQ(0, READ());
}

TEST_F(IniTest, KeyModeAndPausedStateComeFromTheFile) {
  ASSERT_EQ(0, READ());
  g_set.key = kKeyVilike;
  g_set.sussave = kYes;
  g_set.sus = 1;
  WriteSettings();
  EXPECT_STREQ("1.5a", g_keyVersion);
  g_set = Settings();
  ASSERT_EQ(1, READ());
  EXPECT_EQ(kKeyVilike, g_set.key);
  EXPECT_STREQ("1.5a", g_keyVersion);
  EXPECT_EQ(1, g_set.sus) << "saved paused state restored";
}

namespace {

// Deep folders with Japanese names under C:\, removed (with any INI file
// in them) however the test ends. Their paths take nearly twice as many
// bytes in the ANSI code page as they have characters.
class DeepFolder {
 public:
  // Folders of the given lengths in characters, one inside the other.
  explicit DeepFolder(std::initializer_list<int> lengths) {
    GetCurrentDirectoryW(MAX_PATH, previous_);
    std::wstring dir = L"C:\\kwdeep";
    Make(dir);
    for (int n : lengths) {
      dir += L"\\" + std::wstring(static_cast<size_t>(n), L'\x8a2d');  // 設 repeated
      Make(dir);
    }
  }
  ~DeepFolder() {
    SetCurrentDirectoryW(previous_);
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
      DeleteFileW((*it + L"\\kopiwell.ini").c_str());
      RemoveDirectoryW(it->c_str());
    }
  }
  const std::wstring& Path() const { return made_.back(); }
  const std::vector<std::wstring>& Parents() const { return made_; }
  bool Enter() const { return SetCurrentDirectoryW(Path().c_str()) != FALSE; }

 private:
  void Make(const std::wstring& dir) {
    if (CreateDirectoryW(dir.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS)
      made_.push_back(dir);
  }
  std::vector<std::wstring> made_;
  wchar_t previous_[MAX_PATH] = {};
};

bool IniIn(const std::wstring& dir) {
  return GetFileAttributesW((dir + L"\\kopiwell.ini").c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

// Linux allows 255 bytes a name: at most 85 such characters in UTF-8.
TEST_F(IniTest, SettingsLiveInADeepFolderWithADoubleByteName) {
  DeepFolder folder({80, 80, 70});
  ASSERT_EQ(4u, folder.Parents().size());
  ASSERT_TRUE(Succeeded(folder.Enter()));
  EXPECT_GT(GetCurrentDirectoryA(0, nullptr), 460u) << "bytes in the ANSI code page";

  ASSERT_EQ(0, READ());
  g_set.lfbyte = 33;
  WriteSettings();
  EXPECT_TRUE(Succeeded(IniIn(folder.Path()))) << "no kopiwell.ini in the deep folder";
  g_set.lfbyte = 0;
  ASSERT_EQ(1, READ());
  EXPECT_EQ(33, g_set.lfbyte);
}

// A folder named in characters the ANSI code page has not (Korean and an
// accented letter under code page 932) still keeps the settings, and the
// file itself stays in the code page's bytes.
TEST_F(IniTest, SettingsLiveInAFolderNamedOutsideTheCodePage) {
  const std::wstring dir = L"\uD55C\uAE00-caf\u00E9";
  ASSERT_TRUE(Succeeded(CreateDirectoryW(dir.c_str(), nullptr)));
  ASSERT_TRUE(Succeeded(SetCurrentDirectoryW(dir.c_str())));
  ASSERT_EQ(0, READ());
  strcpy(g_set.inyo, "\x81\x9A ");  // a Shift-JIS star
  WriteSettings();
  EXPECT_NE(std::string::npos, ReadFileBytes(kIni).find("inyo=\"\x81\x9A \""))
      << "the value is stored as the code page's bytes";
  g_set.inyo[0] = '\0';
  ASSERT_EQ(1, READ()) << "no first run a second time";
  EXPECT_STREQ("\x81\x9A ", g_set.inyo);
  SetCurrentDirectoryW(L"..");
}

// Where the system cannot reach a file in the current folder, the
// settings are not stored at all rather than in some other file.
TEST_F(IniTest, AFolderTooDeepForTheSystemSendsTheSettingsNowhereElse) {
  DeepFolder folder({80, 80, 80});
  ASSERT_EQ(4u, folder.Parents().size());
  ASSERT_TRUE(Succeeded(folder.Enter()));
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  const bool before = IniIn(windows);

  READ();
  WriteSettings();
  EXPECT_EQ(before, IniIn(windows)) << "no kopiwell.ini in the Windows folder";
  for (const std::wstring& dir : folder.Parents()) EXPECT_FALSE(IniIn(dir) && dir != folder.Path());
}

TEST(InfoDialogs, AboutShowsTheVersionAndClosesOnEscapeToo) {
  for (int button : {IDOK, IDCANCEL}) {
    DialogAnswerer answer("コピウェル - バージョン情報", button);
    ShowAboutDialog(nullptr);
    ASSERT_TRUE(answer.Answered()) << "button " << button;
    ASSERT_FALSE(answer.Labels().empty());
    EXPECT_EQ("コピウェル for Windows95 Ver2.0", answer.Labels()[0]);
  }
}
