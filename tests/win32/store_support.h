// Support for tests of the store: a private temporary directory as the
// current directory, the program's real list window, data-file bytes.
//
// A helper that checks takes the file and line of its call first and
// traces them, so that a failure inside it also names the test line that
// called it. Tests call it through its macro, which passes them; a
// helper that returns nothing can fail fatally, and its macro then ends
// the test as a failed ASSERT_ would. A fixture's SetUp that builds on
// another's stops when that one failed fatally.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/bytes.h"
#include "common/files.h"
#include "common/list_view.h"
#include "store/history.h"

// The whole working file, read through the store's own handle: the store
// holds it open without sharing. The file position is left at the end.
std::string WorkBytes(const Store& store);


std::int32_t RowOffset(HWND list, int row);
std::string RowLabel(HWND list, int row);

// Each test runs in a new empty directory with the program's list window
// created hidden from its template, and leaves both behind it.
class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Opens the history, whose rows the list window shows.
  HANDLE Open();

  HWND list_ = nullptr;
  Store& store_ = History();  // closed without saving at the end of the test

 private:
  std::string previousDir_;
  std::string dir_;
};
