// vormek-image <table folder> <output image>: the timetable image of the four
// tables, loaded and checked as the program loads them, for the program to
// carry beside its items and open without parsing.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "data/table_text_folder.h"
#include "data/timetable.h"
#include "data/timetable_image.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: vormek-image <table folder> <output image>\n";
    return 2;
  }
  try {
    vormek::TTimetable timetable;
    vormek::LoadTimetableFromDirectory(argv[1], timetable);
    const std::string image = vormek::WriteTimetableImage(timetable, "built into the program");
    // Written beside and renamed, so that a failed run leaves no half image
    // for the build to embed.
    const std::filesystem::path out = argv[2];
    const std::filesystem::path part = out.string() + ".part";
    {
      std::ofstream file(part, std::ios::binary | std::ios::trunc);
      file.write(image.data(), static_cast<std::streamsize>(image.size()));
      file.close();
      if (!file) throw std::runtime_error("cannot write " + part.string());
    }
    std::filesystem::rename(part, out);
  } catch (const std::exception& e) {
    std::cerr << "vormek-image: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
