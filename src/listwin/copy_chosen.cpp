#include "listwin/copy_chosen.h"

#include <utility>
#include <vector>

#include "base/report.h"
#include "listwin/list_state.h"
#include "listwin/put_buffer.h"
#include "listwin/selection.h"
#include "output/copy.h"
#include "settings/settings.h"
#include "store/store.h"

namespace {

// 0 stays 0; a failure is remembered in the window's listError and gives -1.
int Fail(int code) {
  if (code == 0) return 0;
  TheListWindow().listError = code;
  return -1;
}

// Every copy refills the put buffer with the entries it measured.
int CopyListRows(const std::vector<int>& rows, const char* q, const char* f, int w, int r,
                 int noRoomCode) {
  const Store& store = ListStore();
  std::vector<std::int32_t> measured;
  const int result = CopyRows(store, rows, q, f, w, r, noRoomCode, &measured);
  ThePutBuffer().Fill(store, std::move(measured));
  return result;
}

}  // namespace

int CopyClip(int first, int last, const char* q, const char* f, int w, int r) {
  if (last < first) std::swap(first, last);
  if (first < 0 || last >= GetRowCount()) return Fail(kListErrNoRow);
  std::vector<int> rows;
  rows.reserve(static_cast<size_t>(last - first) + 1);
  for (int row = first; row <= last; ++row) rows.push_back(row);
  return Fail(CopyListRows(rows, q, f, w, r, kListErrNoRoom));
}

int CopySelClip(const char* q, const char* f, int w, int r) {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty()) return Fail(kListErrNoSelection);
  return Fail(CopyListRows(rows, q, f, w, r, kListErrSelNoRoom));
}

OutputText ChosenRows(int first, int last, bool quoted) {
  OutputText text;
  text.source = ShownList().multiSel ? OutputText::kSelection : OutputText::kRows;
  text.first = first;
  text.last = last;
  text.quoted = quoted;
  return text;
}

bool CopyChosen(const OutputText& text) {
  if (text.source == OutputText::kOnClipboard) return true;
  const char* quote = text.quoted ? g_set.inyo : "";
  const char* footer = text.quoted ? g_set.foot : "";
  const int result = text.source == OutputText::kSelection
                         ? CopySelClip(quote, footer, g_set.lfbyte, g_set.lf)
                         : CopyClip(text.first, text.last, quote, footer, g_set.lfbyte, g_set.lf);
  if (result == 0) return true;
  if (const char* message = CopyFailureMessage(TheListWindow().listError))
    ErrorBox(message, kErrorPlain);
  return false;
}
