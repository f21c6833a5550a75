#include "output/paste.h"

#include <windows.h>

#include "output/paste_target.h"

namespace {

HWND g_workWindow = nullptr;

// How long a paste waits, at most, for each thing it waits for (the
// target in front, its control focused, its thread answering, the keys
// taken): a program that never gets there must not hold the list up.
constexpr DWORD kPasteDeadlineMs = 300;
// How long a window just brought to the front may take to restore its
// keyboard focus.
constexpr DWORD kFocusWaitMs = 200;


// Polls the condition for at most timeoutMs.
template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() >= deadline) return false;
    Sleep(1);
  }
  return true;
}

// The keyboard focus of a thread, asked of that thread's own input
// state: joining its input with ours only to ask would disturb it (under
// Wine it can leave no window in front at all).
HWND FocusOf(DWORD thread) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// The control the user is typing in: the focus of the window in front, or
// that window itself when no control of it has the focus. A window just
// brought to the front (by a click on the tray icon) gives its control
// the focus back a moment later, so a missing focus is asked for again
// for a short while.
HWND FrontFocus() {
  HWND front = GetForegroundWindow();
  if (!front) return nullptr;
  const DWORD thread = GetWindowThreadProcessId(front, nullptr);
  HWND focus = FocusOf(thread);
  if (!focus && thread != GetCurrentThreadId())
    WaitFor([&] { return (focus = FocusOf(thread)) != nullptr; }, kFocusWaitMs);
  return focus ? focus : front;
}

bool ModifiersUp() {
  return GetAsyncKeyState(VK_SHIFT) >= 0 && GetAsyncKeyState(VK_CONTROL) >= 0 &&
         GetAsyncKeyState(VK_MENU) >= 0;
}

// The target's thread has handled what was sent to it so far (its
// activation, its focus) and is taking messages: keys typed now reach
// the control that has the focus.
bool Answers(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kPasteDeadlineMs, &result) !=
         0;
}

// Waits until the target's program has taken the keys typed into it, so
// that the list coming back to the front cannot take them instead.
void WaitUntilKeysTaken(HWND target) {
  DWORD pid = 0;
  GetWindowThreadProcessId(target, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return;
  WaitForInputIdle(process, kPasteDeadlineMs);
  CloseHandle(process);
}

// Gives the keyboard focus back to the target control, bringing its
// window to the front first: hiding the list hands the activation to
// whatever window the system picks (the one under the list, say), or to
// none. False when that cannot be done, the control being gone or another
// window staying in front: a Ctrl+V then would land in the wrong place.
bool ReturnToTarget(HWND target) {
  if (!IsWindow(target)) return false;
  HWND root = GetAncestor(target, GA_ROOT);
  const DWORD thread = GetWindowThreadProcessId(target, nullptr);
  // A target that is a whole window (it had no focused control) is in
  // place while any of its controls has the focus.
  auto inPlace = [&] {
    HWND focus = FocusOf(thread);
    return focus == target || (target == root && focus && IsChild(root, focus));
  };
  // Hiding the list hands the activation on while this runs, and the
  // window that gets it may come to the front after the target did: the
  // target is brought forward again until it stays there.
  WaitFor(
      [&] {
        if (GetForegroundWindow() != root) SetForegroundWindow(root);
        return GetForegroundWindow() == root && inPlace();
      },
      kPasteDeadlineMs);
  // Joining the target's input only when the focus must really move: an
  // attach that was not needed can leave no window in front at all.
  if (!inPlace()) {
    const DWORD self = GetCurrentThreadId();
    const bool attached = thread != self && AttachThreadInput(thread, self, TRUE);
    SetFocus(target);
    if (attached) AttachThreadInput(thread, self, FALSE);
    WaitFor(inPlace, kPasteDeadlineMs);
  }
  return GetForegroundWindow() == root && Answers(root);
}

void TypeCtrlV() {
  // The key that types V on the present keyboard layout.
  const BYTE v = LOBYTE(VkKeyScanA('V'));
  keybd_event(VK_CONTROL, 0, 0, 0);
  keybd_event(v, 0, 0, 0);
  keybd_event(v, 0, KEYEVENTF_KEYUP, 0);
  keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
}

// The system drops, without a word, keys sent to a program running above
// ours (as administrator): the user is told instead of left guessing.
bool RunsAboveUs(HWND window) {
  DWORD pid = 0;
  if (!window || !GetWindowThreadProcessId(window, &pid) || pid == GetCurrentProcessId())
    return false;
  return KeysWouldBeDropped(ProcessIntegrity(GetCurrentProcessId()), ProcessIntegrity(pid));
}

}  // namespace

HWND ForegroundFocus() { return FrontFocus(); }

// Shift, Ctrl or Alt still held from the list would turn the Ctrl+V into
// another command in the target: they are let go, and the keys are typed
// once the system sees them up.
void ReleaseHeldModifiers(const HeldModifiers& held) {
  const struct {
    bool held;
    BYTE key;
  } keys[] = {{held.shift, VK_SHIFT}, {held.ctrl, VK_CONTROL}, {held.alt, VK_MENU}};
  for (const auto& k : keys)
    if (k.held) keybd_event(k.key, 0, KEYEVENTF_KEYUP, 0);
}

PasteOutcome PasteInto(HWND target, bool waitUntilTaken) {
  // A target forgotten because the user went to another program pastes
  // into whatever is in front; a remembered one must be in front.
  if (target && !ReturnToTarget(target)) return PasteOutcome::kTargetGone;
  if (RunsAboveUs(target ? target : GetForegroundWindow())) return PasteOutcome::kTargetElevated;
  WaitFor(ModifiersUp, kPasteDeadlineMs);
  TypeCtrlV();
  HWND front = GetForegroundWindow();
  if (waitUntilTaken && front) WaitUntilKeysTaken(front);
  return PasteOutcome::kTyped;
}

void RememberWorkWindow(HWND window) { g_workWindow = window; }
HWND WorkWindow() { return g_workWindow; }
