#pragma once
// The eight pictures of the main window, drawn from simple shapes.
#include <string>
#include <vector>

namespace vormek::pictures {

struct Picture {
  std::string name;  // LOGO, UPDATE, B1 ... B7
  std::string bmp;   // a whole BMP file
};

std::vector<Picture> DrawAll();

}  // namespace vormek::pictures
