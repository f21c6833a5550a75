// The integrity level of a running process, asked of the system.
#pragma once

#include <windows.h>

#include "output/integrity.h"

// The level of the process `pid`, or why it could not be asked.
IntegrityAnswer ProcessIntegrity(DWORD pid);
