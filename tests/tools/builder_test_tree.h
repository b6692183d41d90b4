#pragma once
// A tiny authored timetable written into a fresh temporary folder.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace vormek::builder::testing {

// The sources are UTF-8 while this test code's plain literals are GBK.
inline std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

class TestTree {
 public:
  TestTree() {
    std::random_device seed;
    root_ = std::filesystem::temp_directory_path() / ("vormek-tree-" + std::to_string(seed()));
    std::filesystem::create_directories(root_);
  }
  ~TestTree() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  TestTree(const TestTree&) = delete;
  TestTree& operator=(const TestTree&) = delete;

  void Write(const std::string& relative, const std::string& text) {
    std::filesystem::path path = root_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }
  const std::filesystem::path& Root() const { return root_; }

 private:
  std::filesystem::path root_;
};

// Four stations on one line, a group, and one train each way.
inline void WriteSmallNetwork(TestTree& tree) {
  tree.Write("stations/a.txt", U8(u8"甲城 JC\n乙镇 YZ\n丙村 BC\n丁城 DC\n"));
  tree.Write("groups/a.txt", U8(u8"7 甲城\n"));
  tree.Write("lines/a.txt", U8(u8"line 甲丁线\nspeed 120\n0 甲城\n40 乙镇\n95 丙村\n180 丁城\n"));
}

}  // namespace vormek::builder::testing
