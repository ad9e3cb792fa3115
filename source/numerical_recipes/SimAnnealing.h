#pragma once

#include "numerical_recipes/nrutil_nr.h"

// Monte Carlo search with a temperature falling linearly from 1 to 0 over
// 3000 * n steps (n = size of p). Each step moves one component by up to
// +-0.4; on even steps, when n > 1, the same amount is taken from another
// component so that the sum of the components is kept. The random numbers
// come from RanD/RanI, so a run is reproducible. Takes the arguments of
// NR::powell; xi, ftol and maxstep are not used. On return p is the last
// accepted state (not necessarily the best one seen), fret = func(p) and
// iter the number of steps made.
void SimAnnealing(Vec_IO_DP& p, Mat_IO_DP& xi, DP ftol, int maxstep, int& iter, DP& fret,
                  NR::VecFunction func);
