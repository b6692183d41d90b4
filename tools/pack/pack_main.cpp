// vormek-pack <table folder> <picture folder> <output .cpp>: the twelve items
// the program carries, and SQP when the table folder has it, as a generated
// source.
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "item_packer.h"

namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: vormek-pack <table folder> <picture folder> <output .cpp>\n";
    return 2;
  }
  try {
    std::vector<vormek::pack::NamedItem> items;
    for (const auto& source : vormek::pack::ItemSources()) {
      std::filesystem::path path = std::filesystem::path(source.table ? argv[1] : argv[2]) / source.file;
      items.push_back({source.name, vormek::pack::PackItem(ReadFile(path))});
    }
    for (const auto& source : vormek::pack::OptionalItemSources()) {
      std::filesystem::path path = std::filesystem::path(argv[1]) / source.file;
      if (std::filesystem::exists(path)) items.push_back({source.name, vormek::pack::PackItem(ReadFile(path))});
    }
    std::ostringstream text;
    vormek::pack::WriteItemsSource(items, text);
    // Rewrite only on change, so that an unchanged timetable compiles nothing.
    std::filesystem::path output = argv[3];
    if (std::filesystem::exists(output) && ReadFile(output) == text.str()) return 0;
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out << text.str();
    if (!out) throw std::runtime_error("cannot write " + output.string());
  } catch (const std::exception& e) {
    std::cerr << "vormek-pack: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
