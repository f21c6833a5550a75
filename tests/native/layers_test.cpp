// The direction of the house, read from the sources: a folder includes
// only its own headers and those of the folders below it
// (base <- settings <- store <- output <- listwin <- app), and no
// platform-free file reaches <windows.h>, directly or through a header.
// A failure names the file and the line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::map<std::string, int> kLayers = {{"base", 0},   {"settings", 1}, {"store", 2},
                                            {"output", 3}, {"listwin", 4},  {"app", 5}};

// Upward includes still to be taken apart: each is a file and the header
// above it that it includes. The list may only shrink; an entry that is no
// longer needed fails the test too, so that it goes.
const std::set<std::string> kStillUpward = {
    "settings/settings_dialog.cpp listwin/listwin.h", "output/copy.cpp listwin/listwin.h",
    "output/copy.cpp listwin/selection.h",           "output/copy.h listwin/listwin.h",
    "output/paste.cpp app/tray.h",                   "output/paste.cpp listwin/listwin.h",
    "output/paste.cpp listwin/selection.h",          "output/viewer.cpp listwin/listwin.h",
    "output/viewer.cpp listwin/selection.h",
};

struct Include {
  std::string target;  // "store/store.h" or "<windows.h>"
  int line;
};

std::vector<Include> Includes(const fs::path& file) {
  static const std::regex kInclude(R"(^\s*#\s*include\s*([<"])([^">]+)[">])");
  std::vector<Include> found;
  std::ifstream in(file);
  std::string text;
  for (int line = 1; std::getline(in, text); ++line) {
    std::smatch m;
    if (std::regex_search(text, m, kInclude))
      found.push_back({m[1] == "<" ? "<" + m[2].str() + ">" : m[2].str(), line});
  }
  return found;
}

const fs::path kSrc = KW_SRC_DIR;

// The platform-free sources, as the build lists them.
std::vector<std::string> PortableSources() {
  std::ifstream in(kSrc / "CMakeLists.txt");
  const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t from = all.find("add_library(kw_portable");
  const size_t to = all.find(')', from);
  std::vector<std::string> files;
  static const std::regex kSource(R"(\w+/\w+\.cpp)");
  const std::string block = all.substr(from, to - from);
  for (std::sregex_iterator it(block.begin(), block.end(), kSource), end; it != end; ++it)
    files.push_back(it->str());
  return files;
}

// Where <windows.h> is reached from `file`, through its quoted includes:
// "file:line" of the include that brings it, or "" when it is not.
std::string WindowsReached(const std::string& file, std::set<std::string>* seen) {
  if (!seen->insert(file).second || !fs::exists(kSrc / file)) return "";
  for (const Include& inc : Includes(kSrc / file)) {
    if (inc.target == "<windows.h>") return file + ":" + std::to_string(inc.line);
    if (inc.target[0] == '<') continue;
    const std::string via = WindowsReached(inc.target, seen);
    if (!via.empty()) return file + ":" + std::to_string(inc.line) + " -> " + via;
  }
  return "";
}

}  // namespace

TEST(Layers, NoFolderIncludesOneAboveIt) {
  std::set<std::string> used;
  for (const auto& [folder, rank] : kLayers) {
    for (const auto& entry : fs::directory_iterator(kSrc / folder)) {
      const std::string file = folder + "/" + entry.path().filename().string();
      for (const Include& inc : Includes(entry.path())) {
        const auto layer = kLayers.find(inc.target.substr(0, inc.target.find('/')));
        if (layer == kLayers.end() || layer->second <= rank) continue;
        const std::string pair = file + " " + inc.target;
        if (kStillUpward.count(pair)) {
          used.insert(pair);
          continue;
        }
        ADD_FAILURE() << file << ":" << inc.line << " includes " << inc.target << ", which is above "
                      << folder;
      }
    }
  }
  for (const std::string& pair : kStillUpward)
    EXPECT_TRUE(used.count(pair)) << pair << " is gone: take it off the list";
}

TEST(Layers, PlatformFreeFilesNeverReachWindowsHeaders) {
  const std::vector<std::string> sources = PortableSources();
  ASSERT_FALSE(sources.empty()) << "the build lists no platform-free sources";
  for (const std::string& source : sources) {
    const std::string header = source.substr(0, source.size() - 4) + ".h";
    for (const std::string& file : {source, header}) {
      std::set<std::string> seen;
      EXPECT_EQ("", WindowsReached(file, &seen)) << file << " reaches <windows.h>";
    }
  }
}
