// The store's error codes: what the failing operation keeps as the
// store's Error() (store.h). No window system here, so that the messages that
// answer them can be tested anywhere.
#pragma once

// Store error codes, kept by the store after the failing operation.
enum TdbError : int {
  kErrDataExists = -1000,        // tdb_create: normal at every later start
  kErrDataCreate = -1001,
  kErrStartDelNoData = -1100,
  kErrStartDelMode = -1101,
  kErrRestoreNoBackup = -1200,
  kErrInsRowIndex = -1301,
  kErrAppendNoStore = -1500,
  kErrWorkingFileFull = -1501,   // the record would pass the 2 GB offset limit
  kErrAppendWrite = -1502,       // writing the record failed (a full disk)
  kErrOpenNoData = -1601,
  kErrOpenWork = -1602,
  kErrCloseNoStore = -1701,
  kErrCloseCreate = -1702,
  kErrCloseWrite = -1703,        // writing the new data file failed; the old one stands
  kErrDelRowIndex = -2001,
  kErrModifyIndex = -2201,
  kErrClearCreate = -2300,
  kErrRowMode = -2400,
  kErrMoveRows = -2500,          // tdb_moverows: a row would leave the list
  kErrNoMemory = -2800,          // the index could not grow; nothing changed
  kErrOpenNoMemory = -1603,      // the store's index does not fit in memory
  kErrStartDelBackup = -1102,    // the backup copy failed; the data file stays
  kErrRestoreCopy = -1201,       // the backup could not be copied; nothing changed
  kErrCloseRead = -1704,         // reading the working file failed; nothing replaced
};
