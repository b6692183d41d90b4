#pragma once
// The timetable image built into a program that carries one (vormek-query):
// the same tables as the embedded items, ready to open without parsing.
// Defined by a source file that the build generates; empty where the build
// cannot place an image in the program.
#include <cstddef>
#include <span>

namespace vormek {

std::span<const std::byte> EmbeddedTimetableImage();

}  // namespace vormek
