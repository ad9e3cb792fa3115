#include "support/run.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace testing_support {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::random_device rd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    auto candidate = fs::temp_directory_path() /
                     ("qm2ff-test-" + std::to_string(getpid()) + "-" + std::to_string(rd()));
    if (fs::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& name, const std::string& text) const {
  const fs::path p = path_ / name;
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << text;
  return p.string();
}

std::string TempDir::Read(const std::string& name) const { return ReadFile(path_ / name); }

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

RunResult Run(const std::string& command, const fs::path& dir) {
  RunResult r;
  const fs::path out = dir / ".run.out";
  const fs::path err = dir / ".run.err";
  const std::string line = "cd '" + dir.string() + "' && PATH='" QM2FF_ENGINES_BIN "':\"$PATH\" " +
                           command + " >'" + out.string() + "' 2>'" + err.string() + "' </dev/null";
  const int raw = std::system(line.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = ReadFile(out);
  r.err = ReadFile(err);
  fs::remove(out);
  fs::remove(err);
  return r;
}

RunResult RunQm2ff(const std::string& script, const fs::path& dir) {
  return Run(std::string("'") + QM2FF_EXE + "' '" + script + "'", dir);
}

std::string SharedReferenceDir() {
  const fs::path dir = fs::path(QM2FF_SOURCE_DIR).parent_path() / "shared" / "reference";
  return fs::is_directory(dir) ? dir.string() : "";
}

}  // namespace testing_support
