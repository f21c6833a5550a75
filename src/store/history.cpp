#include "store/history.h"

HANDLE g_store = nullptr;
