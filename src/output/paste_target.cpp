#include "output/paste_target.h"

#include <vector>

namespace {

IntegrityAnswer Failed() {
  IntegrityAnswer answer;
  answer.error = GetLastError();
  return answer;
}

}  // namespace

IntegrityAnswer ProcessIntegrity(DWORD pid) {
  // The least a process can be asked for, which even one run as
  // administrator grants a normal program (Windows Vista and later).
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return Failed();
  HANDLE token = nullptr;
  const BOOL opened = OpenProcessToken(process, TOKEN_QUERY, &token);
  IntegrityAnswer answer = opened ? IntegrityAnswer() : Failed();
  CloseHandle(process);
  if (!opened) return answer;

  DWORD size = 0;
  GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &size);
  std::vector<BYTE> buffer(size ? size : 1);
  if (size && GetTokenInformation(token, TokenIntegrityLevel, buffer.data(), size, &size)) {
    PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
    const UCHAR parts = *GetSidSubAuthorityCount(sid);
    answer.known = parts > 0;
    if (answer.known) answer.level = *GetSidSubAuthority(sid, parts - 1u);
  } else {
    answer = Failed();
  }
  CloseHandle(token);
  return answer;
}
