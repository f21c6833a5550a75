#include "listwin/phrase_add.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/report.h"
#include "listwin/find.h"
#include "listwin/list_state.h"
#include "listwin/selection.h"
#include "output/messages.h"
#include "store/phrases.h"
#include "store/store.h"

namespace {

std::vector<int> Rows(int first, int last) {
  if (last < first) std::swap(first, last);
  std::vector<int> rows;
  for (int row = first; row <= last; ++row) rows.push_back(row);
  return rows;
}

void ReportPhraseFailure(const Store& phrases) {
  if (!phrases.Work()) return Tell(kMsgPhrasesNotOpened);
  if (phrases.Error() == kErrNoMemory) return ReportNoMemory();
  Tell(kMsgPhrasesNotAdded);
}

}  // namespace

bool AddToPhrases(int first, int last) {
  const Store& from = ListStore();
  const std::vector<int> rows = ShownList().multiSel ? SelectedRows() : Rows(first, last);
  if (rows.empty() || rows.front() < 0 || rows.back() >= tdb_rowcount(from)) return false;
  std::vector<std::int32_t> offsets;
  for (int row : rows) offsets.push_back(tdb_rowoffset(from, row));
  Store& phrases = Phrases();
  if (tdb_putrows(phrases, tdb_rowcount(phrases), from, offsets, 1) != 0) {
    ReportPhraseFailure(phrases);
    return true;
  }
  ShowListNotice(L"定型文に登録しました（" + std::to_wstring(rows.size()) + L"件）");
  return true;
}

bool MoveChosenRows(int by) {
  std::vector<int> rows = SelectedRows();
  if (rows.size() <= 1) {
    const int cursor = GetCursorRow();
    if (cursor < 0) return false;
    rows = {cursor};
  }
  if (tdb_moverows(ListStore(), rows, by) != 0) return false;
  const int now = GetCursorRow();
  if (now >= 0) SendMessageW(TheListWindow().view, LVM_ENSUREVISIBLE, static_cast<WPARAM>(now), FALSE);
  return true;
}
