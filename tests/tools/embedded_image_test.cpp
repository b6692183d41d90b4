// The timetable image the command-line tool carries is the embedded items'
// timetable: the same tables, values, orders and index, and whole.
#include "data/embedded_image.h"

#include <gtest/gtest.h>

#include "data/embedded_items.h"
#include "data/timetable_image.h"
#include "support/timetable_compare.h"

namespace vormek {
namespace {

TEST(EmbeddedImage, IsTheTimetableOfTheEmbeddedItems) {
  TTimetable fromItems;
  LoadTimetable(EmbeddedItems(), fromItems);
  TTimetable fromImage;
  OpenTimetableImage(EmbeddedTimetableImage(), nullptr, TImageChecksum::Verify, fromImage);
  EXPECT_EQ(TimetableImageStamp(EmbeddedTimetableImage()), "built into the program");
  EXPECT_TRUE(IndexMatches(fromImage));
  testing::ExpectSameTimetable(fromItems, fromImage);
}

}  // namespace
}  // namespace vormek
