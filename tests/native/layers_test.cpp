// The direction of the house, read from the sources: a folder includes
// only its own headers and those of the folders below it
// (base <- settings <- store <- output <- listwin <- app), and no
// platform-free file reaches <windows.h>, directly or through a header.
// A failure names the file and the line.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
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
  for (const auto& [folder, rank] : kLayers) {
    for (const auto& entry : fs::directory_iterator(kSrc / folder)) {
      const std::string file = folder + "/" + entry.path().filename().string();
      for (const Include& inc : Includes(entry.path())) {
        const auto layer = kLayers.find(inc.target.substr(0, inc.target.find('/')));
        if (layer == kLayers.end() || layer->second <= rank) continue;
        ADD_FAILURE() << file << ":" << inc.line << " includes " << inc.target << ", which is above "
                      << folder;
      }
    }
  }
}

// Two files that include each other's headers call each other: neither
// can then be read, or changed, without the other.
TEST(Layers, NoTwoFilesIncludeEachOther) {
  std::map<std::string, std::set<std::string>> includes;  // "store/records" -> headers
  for (const auto& [folder, rank] : kLayers)
    for (const auto& entry : fs::directory_iterator(kSrc / folder)) {
      if (entry.path().extension() != ".cpp") continue;
      const std::string name = folder + "/" + entry.path().stem().string();
      for (const Include& inc : Includes(entry.path())) includes[name].insert(inc.target);
    }
  for (const auto& [name, headers] : includes)
    for (const std::string& header : headers) {
      const std::string other = header.substr(0, header.size() - 2);
      if (other <= name || !includes.count(other)) continue;
      EXPECT_FALSE(includes[other].count(name + ".h"))
          << name << ".cpp and " << other << ".cpp include each other's headers";
    }
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

// Running out of memory in a procedure the system calls (a window,
// subclass or dialog procedure) must never unwind into the system's
// code, which would end the program and lose the session's history:
// each runs its work through GuardMemory.
TEST(Layers, EveryProcedureTheSystemCallsRunsInsideTheMemoryGuard) {
  static const std::regex kProcedure(R"(^(LRESULT|INT_PTR|BOOL) CALLBACK (\w+)\()");
  int procedures = 0;
  for (const auto& [folder, rank] : kLayers)
    for (const auto& entry : fs::directory_iterator(kSrc / folder)) {
      if (entry.path().extension() != ".cpp") continue;
      const std::string file = folder + "/" + entry.path().filename().string();
      std::ifstream in(entry.path());
      std::string text, name, body;
      int at = 0;
      for (int line = 1; std::getline(in, text); ++line) {
        std::smatch m;
        if (name.empty() && std::regex_search(text, m, kProcedure)) {
          name = m[2].str();
          body.clear();
          at = line;
        } else if (!name.empty() && text.rfind("}", 0) == 0) {
          ++procedures;
          EXPECT_TRUE(body.find("GuardMemory(") != std::string::npos)
              << file << ":" << at << " " << name << " runs outside the memory guard";
          name.clear();
        } else if (!name.empty()) {
          body += text;
        }
      }
    }
  EXPECT_GE(procedures, 7) << "the procedures were not found";
}

namespace {

// The names a source file defines for other files to call: functions and
// g_ globals written from the start of a line, outside the file's
// anonymous namespace and not static. What a named namespace or a class
// holds goes by that name, which its callers write (row_index::Count,
// a TextMatcher's Matches).
std::set<std::string> ExportedNames(const fs::path& file) {
  static const std::regex kFunction(R"(^[A-Za-z][\w<>,\*& ]*?\b(\w+)(::\w+)*\()");
  static const std::regex kGlobal(R"(^[A-Za-z][\w:<>,\*& ]*\b(g_\w+)\b[^(]*[=;{])");
  static const std::regex kNamed(R"(^namespace (\w+) \{)");
  std::set<std::string> names;
  std::ifstream in(file);
  std::string text, named;
  int anonymous = 0;
  while (std::getline(in, text)) {
    std::smatch m;
    if (text.rfind("namespace {", 0) == 0) ++anonymous;
    if (anonymous && text.rfind("}  // namespace", 0) == 0) --anonymous;
    if (!anonymous && std::regex_search(text, m, kNamed)) named = m[1].str();
    if (!anonymous && text.rfind("}  // namespace " + named, 0) == 0) named.clear();
    if (anonymous || text.rfind("static ", 0) == 0 || text.rfind("namespace", 0) == 0) continue;
    if (std::regex_search(text, m, kGlobal) || std::regex_search(text, m, kFunction))
      names.insert(named.empty() ? m[1].str() : named);
  }
  return names;
}

std::set<std::string> Words(const fs::path& file) {
  static const std::regex kWord(R"(\b[A-Za-z_]\w*\b)");
  std::ifstream in(file);
  const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::set<std::string> words;
  for (std::sregex_iterator it(all.begin(), all.end(), kWord), end; it != end; ++it)
    words.insert(it->str());
  return words;
}

}  // namespace

// A file calls another when it names something the other defines and a
// header it includes declares. Calls that come round to where they began,
// through any number of files, tie those files together: none can be read
// or changed without the others.
TEST(Layers, NoCallsComeRoundBetweenFiles) {
  std::map<std::string, std::set<std::string>> defines;  // name -> files
  std::vector<std::string> files;
  for (const auto& [folder, rank] : kLayers)
    for (const auto& entry : fs::directory_iterator(kSrc / folder)) {
      if (entry.path().extension() != ".cpp") continue;
      const std::string file = folder + "/" + entry.path().filename().string();
      files.push_back(file);
      for (const std::string& name : ExportedNames(entry.path())) defines[name].insert(file);
    }
  std::map<std::string, std::set<std::string>> calls;
  for (const std::string& file : files) {
    std::set<std::string> declared;
    for (const Include& inc : Includes(kSrc / file))
      if (inc.target[0] != '<' && fs::exists(kSrc / inc.target))
        for (const std::string& w : Words(kSrc / inc.target)) declared.insert(w);
    for (const std::string& w : Words(kSrc / file)) {
      const auto d = defines.find(w);
      if (d == defines.end() || !declared.count(w)) continue;
      for (const std::string& other : d->second)
        if (other != file) calls[file].insert(other);
    }
  }
  // Down the calls from each file: a call back to a file on the way is a
  // way round, told once for the files it ties together.
  std::set<std::set<std::string>> told;
  std::set<std::string> done;
  std::vector<std::string> path;
  std::function<void(const std::string&)> visit = [&](const std::string& at) {
    path.push_back(at);
    for (const std::string& next : calls[at]) {
      const auto back = std::find(path.begin(), path.end(), next);
      if (back == path.end()) {
        if (!done.count(next)) visit(next);
      } else if (told.insert(std::set<std::string>(back, path.end())).second) {
        std::string round;
        for (auto it = back; it != path.end(); ++it) round += *it + " -> ";
        ADD_FAILURE() << "calls come round: " << round << next;
      }
    }
    path.pop_back();
    done.insert(at);
  };
  for (const std::string& file : files)
    if (!done.count(file)) visit(file);
}
