#include "util.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <stdexcept>
#include <vector>

#include "errors.h"

std::string UserFilePath(const std::string& name) {
  return name.starts_with("/") ? name : fpath + "/" + name;
}

std::string GetWorkingPath() {
  std::vector<char> buffer(1024);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    const int err = errno;
    if (err == ERANGE) {
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (err == ENOMEM) throw std::runtime_error("Insufficient storage");
    if (err == EACCES) throw std::runtime_error("Access denied");
    throw std::runtime_error("Unrecognised error " + std::to_string(err));
  }
  return buffer.data();
}

std::string GetShellName() {
  if (const char* shell = std::getenv("SHELL")) return shell;
  std::printf("err can not determine current shell name, will use tcsh\n");
  return "tcsh";
}

void mkdr(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) == 0) return;
  if (mkdir(path.c_str(), 0777) != 0) EndProcess(1, path + " " + std::strerror(errno) + "\n");
}

std::string LTime() {
  const std::time_t now = std::time(nullptr);
  char text[64];
  const std::tm* local = std::localtime(&now);
  if (local == nullptr || std::strftime(text, sizeof text, "%a %b %e %H:%M:%S %Y\n", local) == 0)
    return "\n";
  return text;
}

void lower(std::string& s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

void upper(std::string& s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

std::string Lower(const std::string& s) {
  std::string r = s;
  lower(r);
  return r;
}

std::string Upper(const std::string& s) {
  std::string r = s;
  upper(r);
  return r;
}

bool ckstr(const std::string& text, const std::string& word) {
  const int n = NF(text);
  for (int i = 1; i <= n; ++i)
    if (tprint(text, i) == word) return true;
  return false;
}

std::string substr(const std::string& str, const std::string& token, const std::string& subst) {
  std::string out;
  StringTokenizer words(str);
  while (words.hasMoreTokens()) {
    const std::string w = words.nextToken();
    out += (w == token ? subst : w) + " ";
  }
  return out;
}

bool ident(int i, int j) { return i == j; }

bool ident(int i, int j, int k) { return i == j || i == k || j == k; }

Real cint(Real x) { return std::trunc(x + 0.5); }

Real roundi(Real x) { return x > 0 ? std::floor(x + 0.5) : std::ceil(x - 0.5); }

Real round(Real x, int places) {
  const Real scale = std::pow(10.0, places);
  return roundi(x * scale) / scale;
}

Real RanD(Real range) { return std::rand() * range / 2147483647.0; }

int RanI(int range) {
  if (range == 0) throw std::invalid_argument("RanI: empty range");
  return std::rand() % range;
}
