#include "listwin/list_state.h"

#include <commctrl.h>

#include "store/history.h"
#include "store/phrases.h"

ListWindow::ListWindow() : history(History()), phrases(Phrases()), showing(&history) {}

ListWindow& TheListWindow() {
  static ListWindow window;
  return window;
}

ListRows& ShownList() { return *TheListWindow().showing; }

Store& ListStore() { return *ShownList().store; }

void MeasurePage() {
  ListWindow& list = TheListWindow();
  list.rowsPerPage = static_cast<int>(SendMessageW(list.view, LVM_GETCOUNTPERPAGE, 0, 0));
  list.halfPage = list.rowsPerPage / 2;
}

void ResetPendingKeys() { TheListWindow().pending.Clear(); }

void ChooseOutput(int action) { TheListWindow().output.action = action; }

void SetClipReady(bool ready) { TheListWindow().output.clipReady = ready; }
