#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "support/run.h"

namespace testing_support {

// The path of tests/data/<name>, a file of test inputs or references.
inline std::string DataPath(const std::string& name) {
  return (std::filesystem::path(QM2FF_SOURCE_DIR) / "tests" / "data" / name).string();
}

// Compares text with the reference file tests/data/<name>. With the
// environment variable QM2FF_REGENERATE set, the file is written instead.
inline void ExpectSameAsReference(const std::string& text, const std::string& name) {
  const std::filesystem::path file = DataPath(name);
  if (std::getenv("QM2FF_REGENERATE") != nullptr) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
    return;
  }
  EXPECT_EQ(text, ReadFile(file)) << "differs from " << file.string();
}

// text of a run with its directory dir written as DIR and its dates as
// DATE: neither is part of its reference.
inline std::string RunText(std::string text, const std::string& dir) {
  for (auto at = text.find(dir); at != std::string::npos; at = text.find(dir, at + 3))
    text.replace(at, dir.size(), "DIR");
  static const std::regex date("[A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9][0-9] [0-9:]{8} [0-9]{4}");
  return std::regex_replace(text, date, "DATE");
}

// Compares the files of a run in dir (names relative to it) with their
// reference copies under tests/data/<name>/, or writes those copies with
// QM2FF_REGENERATE set.
inline void ExpectSameFilesAsReference(const std::filesystem::path& dir, const std::vector<std::string>& files,
                                       const std::string& name) {
  for (const std::string& f : files) {
    EXPECT_TRUE(std::filesystem::exists(dir / f)) << f;
    ExpectSameAsReference(RunText(ReadFile(dir / f), dir.string()), name + "/" + f);
  }
}

}  // namespace testing_support
