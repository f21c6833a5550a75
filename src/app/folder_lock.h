// One program per data folder: the lock taken before any file of the
// folder is touched.
#pragma once

// Takes the lock on the current directory (the data folder) for the rest
// of the run. False when another program holds it; a lock that cannot be
// made for another reason does not keep the program from starting.
bool LockDataFolder();
