#include "settings/startup_link.h"

#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace {

constexpr wchar_t kLinkName[] = L"\\コピウェル.lnk";

// COM for the time of one call: the program uses it nowhere else.
class ComScope {
 public:
  ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT hr_;
};

template <typename T>
class Com {
 public:
  Com() = default;
  ~Com() {
    if (p_) p_->Release();
  }
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  T** Out() { return &p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

bool NewShellLink(Com<IShellLinkW>* link) {
  return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IShellLinkW, reinterpret_cast<void**>(link->Out())));
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (n < path.size()) return path.substr(0, n);
    path.resize(path.size() * 2);
  }
}

std::wstring CurrentFolder() {
  const DWORD needed = GetCurrentDirectoryW(0, nullptr);
  std::wstring dir(needed, L'\0');
  const DWORD length = GetCurrentDirectoryW(needed, &dir[0]);
  dir.resize(length < needed ? length : 0);
  return dir;
}

}  // namespace

StartupLink ThisProgramsLink() {
  StartupLink link{L"", ModulePath(), CurrentFolder()};
  PWSTR startup = nullptr;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Startup, 0, nullptr, &startup)))
    link.file = std::wstring(startup) + kLinkName;
  CoTaskMemFree(startup);
  return link;
}

LinkState StateOf(const StartupLink& link) {
  if (link.file.empty() || GetFileAttributesW(link.file.c_str()) == INVALID_FILE_ATTRIBUTES)
    return LinkState::kNone;
  ComScope com;
  Com<IShellLinkW> shell;
  Com<IPersistFile> file;
  wchar_t target[MAX_PATH] = {}, folder[MAX_PATH] = {};
  // A file of that name that is no shortcut we can read starts no
  // Kopiwell of ours either; nor does one that starts this program in
  // another folder, which holds another history.
  if (!NewShellLink(&shell) ||
      FAILED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Out()))) ||
      FAILED(file->Load(link.file.c_str(), STGM_READ)) ||
      shell->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH) != S_OK ||
      FAILED(shell->GetWorkingDirectory(folder, MAX_PATH)))
    return LinkState::kOther;
  return SamePath(target, link.exe) && SamePath(folder, link.folder) ? LinkState::kOurs
                                                                     : LinkState::kOther;
}

bool MakeLink(const StartupLink& link) {
  if (link.file.empty()) return false;
  ComScope com;
  Com<IShellLinkW> shell;
  Com<IPersistFile> file;
  // The program finds its settings and history in its working folder, so
  // the shortcut starts it in this run's folder.
  return NewShellLink(&shell) && SUCCEEDED(shell->SetPath(link.exe.c_str())) &&
         SUCCEEDED(shell->SetWorkingDirectory(link.folder.c_str())) &&
         SUCCEEDED(shell->SetDescription(L"コピウェル")) &&
         SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Out()))) &&
         SUCCEEDED(file->Save(link.file.c_str(), TRUE));
}

bool RemoveLink(const StartupLink& link) {
  if (link.file.empty() || DeleteFileW(link.file.c_str())) return true;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}
