// The list view is the store's row observer: while the list window
// exists, every change of the rows is reflected in the view's count and
// states.
#pragma once

void StartViewSync();
void StopViewSync();
