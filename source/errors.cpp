#include "errors.h"

void EndProcess(int status, const std::string& message) {
  throw ProcessExit{status, message};
}
