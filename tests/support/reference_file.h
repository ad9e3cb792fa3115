#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

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

}  // namespace testing_support
