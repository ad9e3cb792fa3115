#include <stdexcept>

#include "numerical_recipes/nrutil_nr.h"

namespace NR {

namespace {

// Points the line context at the vectors of one linmin for its lifetime and
// puts the previous context back afterwards, also when the search ends by an
// exception, so that f1dim never reads storage that is gone.
class LineContext {
 public:
  LineContext(const Vec_DP& p, const Vec_DP& xi, VecFunction func)
      : ncom_(ncom), pcom_(pcom_p), xicom_(xicom_p), func_(nrfunc) {
    ncom = p.size();
    pcom_p = &p;
    xicom_p = &xi;
    nrfunc = func;
  }
  ~LineContext() {
    ncom = ncom_;
    pcom_p = pcom_;
    xicom_p = xicom_;
    nrfunc = func_;
  }
  LineContext(const LineContext&) = delete;
  LineContext& operator=(const LineContext&) = delete;

 private:
  int ncom_;
  const Vec_DP* pcom_;
  const Vec_DP* xicom_;
  VecFunction func_;
};

}  // namespace

void linmin(Vec_IO_DP& p, Vec_IO_DP& xi, DP& fret, VecFunction func) {
  const int n = p.size();
  if (xi.size() != n) throw std::invalid_argument("linmin: point and direction differ in size");
  const Vec_DP pcom(p);
  const Vec_DP xicom(xi);
  DP xmin = 0.0;
  {
    const LineContext line(pcom, xicom, func);
    fret = brent(-2.0, 1.0, 2.0, f1dim, 1.0e-9, xmin);
  }
  for (int j = 0; j < n; ++j) {
    xi[j] *= xmin;
    p[j] += xi[j];
  }
}

DP f1dim(DP x) {
  if (pcom_p == nullptr || xicom_p == nullptr || nrfunc == nullptr)
    throw std::logic_error("f1dim: no line minimisation in progress");
  const Vec_DP& pcom = *pcom_p;
  const Vec_DP& xicom = *xicom_p;
  Vec_DP xt(ncom);
  for (int j = 0; j < ncom; ++j) xt[j] = pcom[j] + x * xicom[j];
  return nrfunc(xt);
}

}  // namespace NR
