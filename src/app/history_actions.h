// What the user does with the whole history from the tray menu.
#pragma once

// Deletes the whole history (after the user confirmed). Returns 0, or -1
// after a fatal error box.
int ClearClip();

// Replaces the history with the backup made by the start-up delete
// (after the user confirmed). Without a backup it says so and changes
// nothing; any other failure is fatal.
void RestoreClip();

// Tells the user, once, that the data file just loaded was damaged.
void ReportDamagedHistory();
