#include "listwin/commands.h"
#include "listwin/copy_chosen.h"
#include "listwin/entries.h"
#include "listwin/find.h"

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
#include "listwin/list_switch.h"
#include "listwin/phrase_add.h"
#include "listwin/put_buffer.h"
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

// Everything a command's action needs, worked out from the typed
// sequence before it runs.
struct CommandArgs {
  long long count = 0;  // 0: none typed
  char mark = 0;        // the typed mark name, for 'x, d'x and mx
  bool classic = false;  // a command of the older key table
  char arg = 0;         // the table's argument for the action
  int cursor = -1;      // the cursor row
  int target = -1;      // where the motion leads, or the range ends; -1 for nowhere
};

// The row the command's motion leads to; -1 when it has none.
int MotionTarget(CommandMotion motion, long long count, char mark) {
  switch (motion) {
    case kNoMotion:
      return -1;
    case kCountedRows:
      return RowCountEnd(count);
    case kMotionDown:
      return RowDown(count);
    case kMotionUp:
      return RowUp(count);
    case kMotionGo:
      return RowGo(count);
    case kMotionMark:
      return GetMark(mark);
  }
  return -1;
}

void Move(const PageMove& m) {
  if (m.moves) MoveCursor(m.scroll, m.cursor);
}

// Deletes rows cur..target, or the selection in multi-selection mode;
// the cursor goes to the row that took the place of the upper end of the
// range, or to the new last row.
void DeleteForCommand(int cur, int target) {
  const int result = ShownList().multiSel ? DeleteSelClip() : DeleteClip(cur, target);
  if (result == kDeleteNoMemory) {
    ReportNoMemory();
    return;
  }
  const int first = cur < target ? cur : target;
  const int rows = GetRowCount();
  MoveCursor(-1, first < rows ? first : rows - 1);
}

// A new empty entry below (o) or above (O) the cursor row, shown in the
// edit dialog for typing. When it cannot be made, the user has been told
// why and nothing else happens.
void OpenEntry(char which, int cursor) {
  int row;
  if (cursor < 0 && ShowingPhrases()) {
    // A new phrase goes to the end, where the user's new phrases go.
    row = GetRowCount();
    if (!InsertClipOrFail(row, "")) return;
    MoveCursor(-1, row);
  } else if (cursor < 0) {
    // Added as a capture is, which moves the marks itself.
    if (!AddClip("")) return;
    row = g_set.data == kDataNew ? 0 : GetRowCount() - 1;
    MoveCursor(0, 0);
  } else {
    row = which == 'o' ? cursor + 1 : cursor;
    if (!InsertClipOrFail(row, "")) return;
    MoveCursor(-1, row);
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
  const PutBuffer& buffer = ThePutBuffer();
  if (buffer.Empty()) return false;
  const std::vector<std::int32_t>& offsets = buffer.Records();
  const long long k = static_cast<long long>(offsets.size());
  const long long n = count > 0 ? count : 1;
  if (n * k > kPutRowsMax) return false;
  Store& store = ListStore();
  const int rows = GetRowCount();
  if (!record_format::FitsInDataFile(tdb_savedsize(store) +
                                     n * tdb_recordsizes(*buffer.From(), offsets)))
    return false;

  const int first = cursor < 0 ? rows : which == 'p' ? cursor + 1 : cursor;
  {
    ScopedBulkChange bulk;
    if (tdb_putrows(store, first, *buffer.From(), offsets, static_cast<int>(n)) != 0) {
      const int error = store.Error();
      if (error == kErrNoMemory) ReportNoMemory();
      return error == kErrNoMemory;  // told already: no beep as well
    }
  }
  MoveCursor(-1, cursor < 0 ? 0 : first);
  return true;
}

// The actions: each returns false when the command is refused. A
// command with a range needs the cursor and the range's other end.

bool DoView(const CommandArgs& a) {
  if (a.cursor >= 0) ToggleViewer(a.arg, a.cursor);
  return true;
}

bool DoDelete(const CommandArgs& a) {
  if (a.cursor < 0 || a.target < 0) return false;
  DeleteForCommand(a.cursor, a.target);
  return true;
}

bool DoSelect(const CommandArgs& a) {
  if (a.cursor < 0 || a.target < 0) return false;
  SelectRange(a.cursor, a.target);
  return true;
}

bool DoUnselect(const CommandArgs&) { return ClearSelect(), true; }
bool DoSelectAll(const CommandArgs&) { return SelectAll(), true; }

// The output action is chosen even when the copy is then refused. A
// command that confirms hands its rows over at once; one that does not
// copies them for the OK command, which then pastes what is on the
// clipboard.
bool DoCopy(const CommandArgs& a) {
  const int action = a.arg & kCopyOnlyCopy ? kOutputCopy : kOutputPaste;
  ChooseOutput(action);
  if (a.cursor < 0 || a.target < 0) return false;
  const OutputText text = ChosenRows(a.cursor, a.target, a.arg & kCopyQuoted);
  if (a.arg & kCopyThenOk)
    HideAndPaste(Confirmation(text, action));
  else if (CopyChosen(text))
    SetClipReady(true);
  return true;
}

bool DoMove(const CommandArgs& a) { return MoveCursor(-1, a.target), true; }

bool DoPage(const CommandArgs& a) {
  const int top = GetTopRow(), rows = GetRowCount(), cur = a.cursor;
  if (a.classic) {
    switch (a.arg) {
      case 'f':
        return Move(PageForward15a(top, rows)), true;
      case 'b':
        return Move(PageBack15a(top, cur, rows)), true;
      case 'd':
        return Move(HalfPageDown15a(top, cur, rows)), true;
      case 'u':
        return Move(HalfPageUp15a(top, cur)), true;
    }
    return true;
  }
  ListWindow& list = TheListWindow();
  // A count given to a half page becomes the half page's step.
  if ((a.arg == 'd' || a.arg == 'u') && a.count > 0) list.halfPage = static_cast<int>(a.count);
  switch (a.arg) {
    case 'f':
      return Move(PageForward(top, list.rowsPerPage, rows)), true;
    case 'b':
      return Move(PageBack(top, list.rowsPerPage, rows)), true;
    case 'd':
      return Move(HalfPageDown(top, cur, list.halfPage, rows)), true;
    case 'u':
      return Move(HalfPageUp(top, cur, list.halfPage)), true;
  }
  return true;
}

bool DoOk(const CommandArgs&) {
  ConfirmPaste();
  return true;
}

bool DoHide(const CommandArgs&) {
  DismissList();
  return true;
}

bool DoMark(const CommandArgs& a) {
  if (SetMark(a.mark, a.cursor) != 0) MessageBeep(0);
  return true;
}

bool DoOpen(const CommandArgs& a) {
  OpenEntry(a.arg, a.cursor);
  return true;
}

bool DoPut(const CommandArgs& a) { return Put(a.arg, a.count, a.cursor); }

bool DoFind(const CommandArgs& a) {
  OpenFindBar(a.arg == '/');
  return true;
}

bool DoFindAgain(const CommandArgs& a) { return FindAgain(a.arg == 'N', a.count); }

bool DoAddPhrase(const CommandArgs& a) {
  if (a.cursor < 0 || a.target < 0) return false;
  return AddToPhrases(a.cursor, a.target);
}

bool DoNothing(const CommandArgs&) { return true; }

// The actions by the CommandAction that names them.
constexpr bool (*kActions[])(const CommandArgs&) = {
    DoNothing, DoView, DoDelete, DoSelect, DoUnselect, DoSelectAll, DoCopy,
    DoMove,    DoPage, DoOk,     DoHide,   DoMark,     DoOpen,      DoPut,  DoFind, DoFindAgain,
    DoAddPhrase,
};
static_assert(sizeof kActions / sizeof kActions[0] == kDoAddPhrase + 1,
              "one action for each name");

// The record for a parsed command; false when its motion leads nowhere,
// which refuses the command before it changes anything.
bool FillArgs(const ParsedCommand& p, bool classic, CommandArgs* a) {
  const CommandEntry& e = *p.entry;
  a->count = p.count;
  a->classic = classic;
  a->arg = e.arg;
  if (e.length > 0 && e.sequence[e.length - 1] == '?') a->mark = p.command[e.length - 1];
  a->cursor = GetCursorRow();
  a->target = MotionTarget(e.motion, p.count, a->mark);
  return e.motion == kNoMotion || e.motion == kCountedRows || a->target >= 0;
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
  CommandArgs args;
  if (!FillArgs(parsed, old, &args) || !kActions[parsed.entry->action](args)) return 0;
  if (parsed.entry->repeat == kRepeatStore) g_repeat = run;
  return 1;
}

int DoKeySeqOld(const char* sequence) { return DoKeySeq(kVersion15a, sequence); }

void ClearRepeatRegister() { g_repeat.clear(); }

const char* RepeatRegister() { return g_repeat.c_str(); }
