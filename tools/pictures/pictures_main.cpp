// vormek-pictures <folder>: writes LOGO.bmp, UPDATE.bmp, B1.bmp ... B7.bmp.
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "pictures.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: vormek-pictures <folder>\n";
    return 2;
  }
  try {
    std::filesystem::create_directories(argv[1]);
    for (const auto& picture : vormek::pictures::DrawAll()) {
      std::ofstream out(std::filesystem::path(argv[1]) / (picture.name + ".bmp"), std::ios::binary | std::ios::trunc);
      out.write(picture.bmp.data(), static_cast<std::streamsize>(picture.bmp.size()));
      if (!out) throw std::runtime_error("cannot write " + picture.name + ".bmp");
    }
  } catch (const std::exception& e) {
    std::cerr << "vormek-pictures: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
