#pragma once

// The trial-move searches that the angle and dihedral stages of the bonded
// fit run before Powell's method: single and paired steps of the free
// parameters, each kept only when it lowers the objective.
#include "constants.h"
#include "numerical_recipes/nrutil_nr.h"

// Integer steps for angle force constants (kcal/mol/rad^2) and Urey-Bradley
// force constants (kcal/mol/A^2): sweep s = 1 .. 5n steps by h = 10 / s (integer
// division, 0 from sweep 11 on); per parameter i, from the best vector P:
// i + h; i - h; i + h with a random j - h ("0 accept"); i + h with every
// parameter - h / n ("1 accept"); i - h with every parameter + h / n
// ("2 accept"). best holds f(P) on entry and on return.
void AngleTrialMoves(Vec_IO_DP& P, Real& best, NR::VecFunction f);

// Steps of 0.5 kcal/mol for dihedral and improper force constants: 5n sweeps;
// per parameter i: i + 0.5 ("s+"), i - 0.5 ("s-"), i + 0.5 with a random
// j - 0.5 ("d+"), i - 0.5 with a random j + 0.5 ("d-").
void DiheTrialMoves(Vec_IO_DP& P, Real& best, NR::VecFunction f);
