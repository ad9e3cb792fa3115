#pragma once

#include <stdexcept>
#include <vector>

#include "constants.h"

// Owning vector of nn elements with unchecked element access, the argument
// type of the minimisers. Copies are deep; assignment takes the size of the
// right-hand side; a moved-from vector is empty.
template <class T>
class NRVec {
 public:
  NRVec() = default;
  explicit NRVec(int n) : v(CheckedSize(n)) {}
  // n elements, each equal to a.
  NRVec(const T& a, int n) : v(CheckedSize(n), a) {}
  // n elements copied from the array a.
  NRVec(const T* a, int n) : v(a, a + CheckedSize(n)) {}

  NRVec(const NRVec&) = default;
  NRVec(NRVec&& o) noexcept : v(std::move(o.v)) { o.v.clear(); }
  NRVec& operator=(const NRVec&) = default;
  NRVec& operator=(NRVec&& o) noexcept {
    if (this != &o) {
      v = std::move(o.v);
      o.v.clear();
    }
    return *this;
  }
  // Sets every element to a.
  NRVec& operator=(const T& a) {
    for (T& x : v) x = a;
    return *this;
  }

  T& operator[](int i) { return v[i]; }
  const T& operator[](int i) const { return v[i]; }
  int size() const { return static_cast<int>(v.size()); }

  T* begin() { return v.data(); }
  T* end() { return v.data() + v.size(); }
  const T* begin() const { return v.data(); }
  const T* end() const { return v.data() + v.size(); }

 private:
  static std::size_t CheckedSize(int n) {
    if (n < 0) throw std::invalid_argument("NRVec: negative size");
    return static_cast<std::size_t>(n);
  }

  std::vector<T> v;  // the nn elements
};

using DP = Real;
using Vec_DP = NRVec<DP>;
using Vec_I_DP = const NRVec<DP>;
using Vec_O_DP = NRVec<DP>;
using Vec_IO_DP = NRVec<DP>;
using Vec_INT = NRVec<int>;
using Vec_I_INT = const NRVec<int>;
using Vec_O_INT = NRVec<int>;
using Vec_IO_INT = NRVec<int>;
