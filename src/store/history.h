// The program's one history: the open working file.
#pragma once

#include <windows.h>

// The open working file; null while the store is closed.
extern HANDLE g_store;
