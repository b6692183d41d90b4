#pragma once
// A window test over the built-in timetable, loaded once for the suite: the
// windows only read it, and loading it per test would be most of the time.
#include <gtest/gtest.h>

#include "data/embedded_items.h"
#include "data/timetable.h"

namespace vormek {

class TBuiltInTablesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    tables_ = new TTimetable;
    LoadTimetable(EmbeddedItems(), *tables_);
  }
  static void TearDownTestSuite() {
    delete tables_;
    tables_ = nullptr;
  }
  static inline TTimetable* tables_ = nullptr;
};

}  // namespace vormek
