#pragma once

#include <filesystem>

namespace testing_support {

// Copies into d what a bonded-fit run of methanol reads: the stand-in's job
// scripts (under charmm/) and start structure, the coordinates, the topology,
// the example parameters and the parameter file without the C-O bond, the
// C-O-H angle and the H-C-O-H dihedral.
inline void CopyMethanolBondedInputs(const std::filesystem::path& d) {
  namespace fs = std::filesystem;
  const fs::path source = QM2FF_SOURCE_DIR;
  fs::create_directories(d / "charmm");
  for (const auto& e : fs::directory_iterator(source / "examples/methanol/charmm"))
    fs::copy(e.path(), d / (e.path().extension() == ".inp" ? "charmm" : ".") / e.path().filename());
  for (const char* f :
       {"examples/methanol/methanol.xyz", "examples/toppar/top_methanol.rtf",
        "examples/toppar/par_methanol.prm", "tests/data/intra/methanol_partial.prm"})
    fs::copy(source / f, d);
}

}  // namespace testing_support
