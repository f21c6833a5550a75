#include "listwin/commands.h"
#include "listwin/copy_chosen.h"
#include "listwin/entries.h"

#include <windows.h>
#include <commctrl.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "base/program.h"
#include "base/report.h"
#include "listwin/command_table.h"
#include "listwin/list_state.h"
#include "listwin/selection.h"
#include "listwin/show_list.h"
#include "listwin/target_rows.h"
#include "output/copy.h"
#include "output/viewer.h"
#include "resource.h"
#include "settings/settings.h"
#include "store/history.h"
#include "store/record_format.h"
#include "store/store.h"

namespace {

std::string g_repeat;

// The rows a command's motions lead to, worked out before it runs: a
// motion without a target refuses the whole command.
struct Targets {
  int cursor = -1;
  int down = -1, up = -1, go = -1, mark = -1;
};

bool FindTargets(const char* command, long long count, Targets* t) {
  t->cursor = GetCursorRow();
  for (const char* c = command; *c; ++c) {
    int row = 0;
    switch (*c) {
      case 'j':
        row = t->down = RowDown(count);
        break;
      case 'k':
        row = t->up = RowUp(count);
        break;
      case 'G':
        row = t->go = RowGo(count);
        break;
      case '\'':
        row = t->mark = GetMark(c[1]);
        if (c[1]) ++c;  // a mark's name, not a motion
        break;
      case 'm':
        if (c[1]) ++c;
        break;
    }
    if (row < 0) return false;
  }
  return true;
}

// The other end of an operator's range, named by the command's second
// character: the same operator (any copy or paste letter for copies and
// pastes) counts rows from the cursor; j, k, G and 'x are motions.
int OperatorTarget(const char* command, long long count, const Targets& t) {
  const char op = command[0], second = command[1];
  const bool copy = std::strchr("yYvV", op) != nullptr;
  if (second == op || (copy && second && std::strchr("yYvV", second))) return RowCountEnd(count);
  switch (second) {
    case 'j':
      return t.down;
    case 'k':
      return t.up;
    case 'G':
      return t.go;
    case '\'':
      return t.mark;
  }
  return -1;
}

void SendOk() { SendMessageW(g_hListWnd, WM_COMMAND, IDOK, 0); }

void Move(const PageMove& m) {
  if (m.moves) MoveCursor(m.scroll, m.cursor);
}

// Deletes rows cur..target, or the selection in multi-selection mode;
// the cursor goes to the row that took the place of the upper end of the
// range, or to the new last row.
void DeleteForCommand(int cur, int target) {
  const int result = g_multiSel ? DeleteSelClip() : DeleteClip(cur, target);
  if (result != 0 && g_tdbError == kErrNoMemory) {
    ReportNoMemory();
    return;
  }
  const int first = cur < target ? cur : target;
  const int rows = GetRowCount();
  MoveCursor(-1, first < rows ? first : rows - 1);
}

// Copies rows from..to (or the selected rows) for the output action; the
// OK command then pastes what is on the clipboard.
bool CopyForOutput(int from, int to, bool quoted) {
  if (!CopyChosen(from, to, quoted)) return false;
  g_clipReady = true;
  return true;
}

// A new empty entry below (o) or above (O) the cursor row, shown in the
// edit dialog for typing. When it cannot be made, the user has been told
// why and nothing else happens.
void OpenEntry(char which, int cursor) {
  int row;
  if (cursor < 0) {
    // Added as a capture is, which moves the marks itself.
    if (!AddClip("")) return;
    row = g_set.data == kDataNew ? 0 : GetRowCount() - 1;
    MoveCursor(0, 0);
  } else {
    row = which == 'o' ? cursor + 1 : cursor;
    if (!InsertClipOrFail(row, "")) return;
    MoveCursor(-1, row);
    g_marks.RowsInserted(row, 1);
  }
  if (!g_viewerShown)
    ToggleViewer('E', GetCursorRow());
  else if (g_hViewer)
    SetFocus(GetDlgItem(g_hViewer, IDC_VIEWER_EDIT));
}

// The most rows one put may add: more would leave the program busy for
// minutes and the data file bloated, and is never what was meant.
constexpr long long kPutRowsMax = 1000000;

// Puts the put buffer's entries count times below (p) or above (P) the
// cursor row. Refused when the buffer is empty, when it would add more
// than kPutRowsMax rows, or when the history would become too large for
// the data file to be loaded again: rows that share a record are each
// saved. Running out of memory changes nothing and is reported.
bool Put(char which, long long count, int cursor) {
  const int k = tdb_bufsize();
  if (k <= 0) return false;
  const long long n = count > 0 ? count : 1;
  if (n * k > kPutRowsMax) return false;
  const int rows = GetRowCount();
  std::vector<std::int32_t> offsets(static_cast<size_t>(k));
  for (int j = 0; j < k; ++j) tdb_bufget(j, &offsets[static_cast<size_t>(j)]);
  if (!record_format::FitsInDataFile(tdb_savedsize() + n * tdb_recordsizes(g_store, offsets)))
    return false;

  const int first = cursor < 0 ? rows : which == 'p' ? cursor + 1 : cursor;
  {
    ScopedBulkChange bulk;
    if (tdb_putrows(first, offsets, static_cast<int>(n), g_hListView) != 0) {
      if (g_tdbError == kErrNoMemory) ReportNoMemory();
      return g_tdbError == kErrNoMemory;  // told already: no beep as well
    }
  }
  MoveCursor(-1, cursor < 0 ? 0 : first);
  if (cursor >= 0) g_marks.RowsInserted(first, static_cast<int>(n * k));
  return true;
}

// Runs the 1.9 command; false when it is refused.
bool Run19(const ParsedCommand& p) {
  const char* command = p.command;
  const long long count = p.count;
  Targets t;
  if (!FindTargets(command, count, &t)) return false;
  const int cur = t.cursor;
  switch (command[0]) {
    case 'e':
    case 'E':
      if (cur >= 0) ToggleViewer(command[0], cur);
      return true;
    case 'd': {
      const int target = OperatorTarget(command, count, t);
      if (cur < 0 || target < 0) return false;
      DeleteForCommand(cur, target);
      return true;
    }
    case 's': {
      if (command[1] == 'c') return ClearSelect(), true;
      if (command[1] == 'a') return SelectAll(), true;
      const int target = OperatorTarget(command, count, t);
      if (cur < 0 || target < 0) return false;
      SelectRange(cur, target);
      return true;
    }
    case 'y':
    case 'Y':
    case 'v':
    case 'V': {
      g_outputAction = kOutputPaste;
      const int target = OperatorTarget(command, count, t);
      if (cur < 0 || target < 0) return false;
      const bool paste = command[0] == 'v' || command[0] == 'V';
      if (CopyForOutput(cur, target, command[0] == 'Y' || command[0] == 'V') && paste) SendOk();
      return true;
    }
    case 'j':
      return MoveCursor(-1, t.down), true;
    case 'k':
      return MoveCursor(-1, t.up), true;
    case 'G':
      return MoveCursor(-1, t.go), true;
    case '\'':
      return MoveCursor(-1, t.mark), true;
    case '\x06':
      Move(PageForward(GetTopRow(), g_rowsPerPage, GetRowCount()));
      return true;
    case '\x04':
    case '\x15': {
      if (count > 0) g_halfPage = static_cast<int>(count);
      const int top = GetTopRow();
      Move(command[0] == '\x04' ? HalfPageDown(top, cur, g_halfPage, GetRowCount())
                                : HalfPageUp(top, cur, g_halfPage));
      return true;
    }
    case '\x02':
      Move(PageBack(GetTopRow(), g_rowsPerPage, GetRowCount()));
      return true;
    case '\r':
      g_outputAction = kOutputPaste;
      g_clipReady = false;
      SendOk();
      return true;
    case '\x1b':
      HideAndPaste(g_hListWnd, kHideOnly);
      return true;
    case 'm':
      if (SetMark(command[1], cur) != 0) MessageBeep(0);
      return true;
    case 'o':
    case 'O':
      OpenEntry(command[0], cur);
      return true;
    case 'p':
    case 'P':
      return Put(command[0], count, cur);
  }
  return true;  // "." with a count: nothing
}

// Runs the 1.5a command (no counts, no marks); false when it is refused.
bool Run15a(const ParsedCommand& p) {
  Targets t;
  if (!FindTargets(p.command, 0, &t)) return false;
  const int cur = t.cursor;
  const int top = GetTopRow(), rows = GetRowCount();
  switch (p.command[0]) {
    case 'd':
      if (cur < 0) return false;
      DeleteForCommand(cur, cur);
      break;
    case 'y':
    case 'Y':
    case 'p':
    case 'P': {
      const char c = p.command[0];
      g_outputAction = c == 'y' || c == 'Y' ? kOutputCopy : kOutputPaste;
      if (cur < 0) return false;
      if (CopyForOutput(cur, cur, c == 'Y' || c == 'P')) SendOk();
      break;
    }
    case 'j':
      MoveCursor(-1, t.down);
      break;
    case 'k':
      MoveCursor(-1, t.up);
      break;
    case 'G':
      MoveCursor(-1, t.go);
      break;
    case '\x06':
      Move(PageForward15a(top, rows));
      break;
    case '\x04':
      Move(HalfPageDown15a(top, cur, rows));
      break;
    case '\x02':
      Move(PageBack15a(top, cur, rows));
      break;
    case '\x15':
      Move(HalfPageUp15a(top, cur));
      break;
  }
  return true;
}

}  // namespace

int DoKeySeq(const char* version, const char* sequence) {
  const CommandEntry* table = CommandTable(version);
  const bool old = table != CommandTable(kVersion19);
  std::string run = sequence;
  if (run == ".") {
    if (g_repeat.empty()) return 0;
    run = g_repeat;
  }
  const ParsedCommand parsed = ParseCommand(table, run.c_str());
  if (!parsed.entry) return 0;
  // The 1.5a table takes no counts; in the 1.9 table a count beyond the
  // 32-bit range is refused rather than wrapped.
  if (old ? run.size() != 1 : parsed.countTooLarge) return 0;
  if (!(old ? Run15a(parsed) : Run19(parsed))) return 0;
  if (parsed.entry->repeat == kRepeatStore) g_repeat = run;
  return 1;
}

int DoKeySeqOld(const char* sequence) { return DoKeySeq(kVersion15a, sequence); }

void ClearRepeatRegister() { g_repeat.clear(); }

const char* RepeatRegister() { return g_repeat.c_str(); }
