#pragma once

// Derivative-free minimisers of functions of a vector of reals (Powell's
// direction-set method with Brent line minimisation) and of one real
// (Brent's method, golden-section search), with their containers.

#include <string>

#include "constants.h"
#include "numerical_recipes/nrmat.h"
#include "numerical_recipes/nrvec.h"

namespace NR {

// A function to minimise: read-only vector in, value out. Target functions
// keep their state in process-wide objects.
using VecFunction = DP (*)(Vec_I_DP&);
using RealFunction = DP (*)(DP);

// Writes the fatal-error report around text and ends the process, status 1.
[[noreturn]] void nrerror(const std::string& text);

// Powell's method from p along the directions in the columns of xi (n x n).
// Stops when one sweep over all directions lowers the value by a relative
// amount of at most ftol, or after sweep ITMAX (at most ITMAX + 1 sweeps,
// without an error). On return p is the best point, fret = func(p), iter the
// index of the last sweep and xi the updated directions.
void powell(Vec_IO_DP& p, Mat_IO_DP& xi, DP ftol, int ITMAX, int& iter, DP& fret,
            VecFunction func);

// Moves p to the minimum of func along xi found among the points p + x * xi
// with x in [-2, 2]; xi becomes the displacement made and fret the value at
// the new p.
void linmin(Vec_IO_DP& p, Vec_IO_DP& xi, DP& fret, VecFunction func);

// func of the point x along the current line: nrfunc(pcom + x * xicom).
DP f1dim(DP x);

// Brent's method inside [min(ax, cx), max(ax, cx)] starting from bx; returns
// the least value found and its abscissa in xmin. More than 100000
// iterations end the process ("Too many iterations in brent").
DP brent(DP ax, DP bx, DP cx, RealFunction f, DP tol, DP& xmin);

// Golden-section search in the bracket ax .. cx with the inner point bx;
// returns the least value found and its abscissa in xmin.
DP golden(DP ax, DP bx, DP cx, RealFunction f, DP tol, DP& xmin);

// The line being searched by linmin, read by f1dim. The vectors belong to
// the running linmin; outside a line minimisation the pointers are null.
// A nested linmin (started by the function being minimised) saves the
// context of the outer one and puts it back when it returns.
extern int ncom;
extern const Vec_DP* pcom_p;
extern const Vec_DP* xicom_p;
extern VecFunction nrfunc;

}  // namespace NR
