#pragma once

#include <stdexcept>
#include <utility>
#include <vector>

#include "numerical_recipes/nrvec.h"

// Owning matrix of nn rows and mm columns stored row by row in one block.
// m[i] is the start of row i, so m[i][j] is element (i, j); no range checks.
// Copies are deep; assignment takes the shape of the right-hand side; a
// moved-from matrix is 0 x 0.
template <class T>
class NRMat {
 public:
  NRMat() = default;
  NRMat(int n, int m) : nn(n), mm(m), v(CheckedSize(n, m)) {}
  // n x m elements, each equal to a.
  NRMat(const T& a, int n, int m) : nn(n), mm(m), v(CheckedSize(n, m), a) {}
  // n x m elements copied row by row from the array a.
  NRMat(const T* a, int n, int m) : nn(n), mm(m), v(a, a + CheckedSize(n, m)) {}

  NRMat(const NRMat&) = default;
  NRMat(NRMat&& o) noexcept
      : nn(std::exchange(o.nn, 0)), mm(std::exchange(o.mm, 0)), v(std::move(o.v)) {
    o.v.clear();
  }
  NRMat& operator=(const NRMat&) = default;
  NRMat& operator=(NRMat&& o) noexcept {
    if (this != &o) {
      nn = std::exchange(o.nn, 0);
      mm = std::exchange(o.mm, 0);
      v = std::move(o.v);
      o.v.clear();
    }
    return *this;
  }
  // Sets every element to a.
  NRMat& operator=(const T& a) {
    for (T& x : v) x = a;
    return *this;
  }

  T* operator[](int i) { return v.data() + static_cast<std::size_t>(i) * mm; }
  const T* operator[](int i) const { return v.data() + static_cast<std::size_t>(i) * mm; }
  int nrows() const { return nn; }
  int ncols() const { return mm; }

 private:
  static std::size_t CheckedSize(int n, int m) {
    if (n < 0 || m < 0) throw std::invalid_argument("NRMat: negative size");
    return static_cast<std::size_t>(n) * static_cast<std::size_t>(m);
  }

  int nn = 0;
  int mm = 0;
  std::vector<T> v;  // nn * mm elements, row after row
};

using Mat_DP = NRMat<DP>;
using Mat_I_DP = const NRMat<DP>;
using Mat_O_DP = NRMat<DP>;
using Mat_IO_DP = NRMat<DP>;
