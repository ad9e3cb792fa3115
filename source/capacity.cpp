#include "capacity.h"

void CheckCapacity(std::size_t index, std::size_t capacity, const std::string& what) {
  if (index >= capacity) {
    throw std::length_error(what + ": at most " + std::to_string(capacity) + " entries");
  }
}
