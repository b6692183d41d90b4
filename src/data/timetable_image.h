#pragma once
// A timetable image: the four tables, loaded and checked, with their index,
// laid out so that a program reads them where they lie (a mapped file, or
// bytes built into the program) instead of parsing and indexing the texts
// again. Opening an image costs little more than checking its structure.
//
// The layout is this machine's (byte order, sizes): an image is a cache or a
// build product, never a file to exchange. The header says which layout and
// format wrote it, and an image of another is refused.
#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "data/timetable.h"

namespace vormek {

// The image of the tables as they stand (loaded by the loaders, so checked),
// carrying the stamp, a text that says what the tables were made from.
std::string WriteTimetableImage(const TTimetable& timetable, std::string_view stamp);

// The same handed to sink piece by piece, the tables' arrays straight from
// where they lie, so that writing an image to a file costs no second copy of
// the tables. The header's size and checksum are known only at the end: the
// returned bytes replace the image's first bytes (as many as they are).
std::string WriteTimetableImage(const TTimetable& timetable, std::string_view stamp,
                                const std::function<void(const char*, std::size_t)>& sink);

// The stamp of an image, read after checking its header: the marker, the
// format and layout, and that the image is as long as its header says.
// Throws EItemError. Cheap: reads only the first bytes.
std::string_view TimetableImageStamp(std::span<const std::byte> image);

enum class TImageChecksum { Verify, Skip };

// The timetable of an image. The image must start on a 16-byte boundary and
// outlive the timetable unless keep owns it: the tables and the index keep a
// share of keep. The header is checked; with Verify (an image read from disk),
// so is the checksum over all the rest, and every value passes the checks a
// load of the texts makes, so that a query prints nothing a load of the texts
// could not have printed; Skip is for an image built into the program. Whatever the bytes, every
// array is checked to lie inside the image and every position and station to
// name one that exists, so that no image makes a read go astray. Throws
// EItemError and leaves the timetable as it was.
void OpenTimetableImage(std::span<const std::byte> image, std::shared_ptr<const void> keep, TImageChecksum checksum,
                        TTimetable& timetable);

}  // namespace vormek
