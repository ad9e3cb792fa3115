#pragma once

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>

// Raises std::length_error "<what>: at most <capacity> entries" when an entry
// with index `index` (0-based) would not fit into a table of `capacity`.
void CheckCapacity(std::size_t index, std::size_t capacity, const std::string& what);

// A table of fixed capacity whose element access is checked: an index at or
// beyond the capacity raises std::out_of_range instead of reaching past the end.
template <class T, std::size_t N>
class FixedArray {
 public:
  static constexpr std::size_t capacity = N;

  T& operator[](std::size_t i) { return data_[Checked(i)]; }
  const T& operator[](std::size_t i) const { return data_[Checked(i)]; }
  constexpr std::size_t size() const { return N; }
  auto begin() { return data_.begin(); }
  auto end() { return data_.end(); }
  auto begin() const { return data_.begin(); }
  auto end() const { return data_.end(); }

 private:
  static std::size_t Checked(std::size_t i) {
    if (i >= N) {
      throw std::out_of_range("entry " + std::to_string(i) + " requested of a table of " +
                              std::to_string(N) + " entries");
    }
    return i;
  }
  std::array<T, N> data_{};
};
