#include "settings/program_list.h"

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// ASCII letters in either case; other bytes (a name in the code page)
// exactly.
bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

}  // namespace

std::vector<std::string> ProgramNames(const std::string& list) {
  std::vector<std::string> names;
  std::size_t at = 0;
  while (at <= list.size()) {
    std::size_t end = list.find(';', at);
    if (end == std::string::npos) end = list.size();
    std::size_t first = at, last = end;
    while (first < last && IsSpace(list[first])) ++first;
    while (last > first && IsSpace(list[last - 1])) --last;
    if (last > first) names.push_back(list.substr(first, last - first));
    at = end + 1;
  }
  return names;
}

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool ProgramListed(const std::string& list, const std::string& path) {
  const std::string name = FileNameOf(path);
  if (name.empty()) return false;
  for (const std::string& listed : ProgramNames(list))
    if (SameName(listed, name)) return true;
  return false;
}
