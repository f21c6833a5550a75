// The store's error codes: what the failing operation writes to
// g_tdbError (store.h). No window system here, so that the messages that
// answer them can be tested anywhere.
#pragma once

// Store error codes, written to g_tdbError by the failing operation.
enum TdbError : int {
  kErrDataExists = -1000,        // tdb_create: normal at every later start
  kErrDataCreate = -1001,
  kErrStartDelNoData = -1100,
  kErrStartDelMode = -1101,
  kErrRestoreNoBackup = -1200,
  kErrInsRowNoList = -1300,
  kErrInsRowIndex = -1301,
  kErrAddRowNoList = -1400,
  kErrAppendNoStore = -1500,
  kErrWorkingFileFull = -1501,   // the record would pass the 2 GB offset limit
  kErrAppendWrite = -1502,       // writing the record failed (a full disk)
  kErrOpenNoList = -1600,
  kErrOpenNoData = -1601,
  kErrOpenWork = -1602,
  kErrCloseNoList = -1700,
  kErrCloseNoStore = -1701,
  kErrCloseCreate = -1702,
  kErrCloseWrite = -1703,        // writing the new data file failed; the old one stands
  kErrGetHeadNoList = -1800,
  kErrDelRowNoList = -2000,
  kErrDelRowIndex = -2001,
  kErrModifyNoList = -2200,
  kErrModifyIndex = -2201,
  kErrClearCreate = -2300,
  kErrRowMode = -2400,
  kErrBufFull = -2600,
  kErrBufIndex = -2700,
  kErrNoMemory = -2800,          // the index could not grow; nothing changed
  kErrOpenNoMemory = -1603,      // the history's index does not fit in memory
  kErrStartDelBackup = -1102,    // the backup copy failed; the data file stays
  kErrRestoreCopy = -1201,       // the backup could not be copied; nothing changed
  kErrCloseRead = -1704,         // reading the working file failed; nothing replaced
};
