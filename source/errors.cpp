#include "errors.h"

void EndProcess(int status, const std::string& message) {
  throw ProcessExit{status, message};
}

std::string ScriptErrorMessage(const std::exception& e, const std::string& line) {
  std::string message;
  if (dynamic_cast<const DetailedError*>(&e) != nullptr) message = std::string(e.what()) + "\n";
  return message + "$ err in input script in line : " + line + "\n";
}
