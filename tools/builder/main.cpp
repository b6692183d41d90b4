// vormek-build <source folder> <output folder>: the authored timetable under
// data/timetable becomes SLIST.txt, STRAIN.txt, SM.txt and SPY.txt.
#include <exception>
#include <iostream>

#include "timetable_builder.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: vormek-build <source folder> <output folder>\n";
    return 2;
  }
  try {
    vormek::builder::Diagnostics diagnostics;
    auto tables = vormek::builder::BuildTimetable(vormek::builder::ReadSourceTree(argv[1]), diagnostics);
    std::cerr << diagnostics.WarningText();
    if (!tables) {
      std::cerr << diagnostics.Text();
      return 1;
    }
    vormek::builder::WriteTableFiles(*tables, argv[2]);
  } catch (const std::exception& e) {
    std::cerr << "vormek-build: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
