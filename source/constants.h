#pragma once

// Real numbers of the whole system: geometry, energies, parameters.
using Real = double;

// Physical constants and unit conversions. Several of these numbers are
// written out verbatim into files read by other programs, so they keep
// exactly these values (pi with eight decimals, not the full precision).
namespace Const {
inline constexpr Real PI = 3.14159265;
inline constexpr Real Tiny = 1e-14;
inline constexpr Real UNITS_ANGLE_RADIANS_TO_DEGREES = 180.0 / 3.14159265;
inline constexpr Real UNITS_ANGLE_DEGREES_TO_RADIANS = 3.14159265 / 180.0;
inline constexpr Real UNITS_ATOMIC_TO_DEBYE = 1.0 / 0.20819;
inline constexpr Real UNITS_DEBYE_TO_ATOMIC = 0.20819;
inline constexpr Real _ATOMIC_TO_KCALS_ = 332.0716;
inline constexpr Real _HARTREES_TO_KCALS_ = 627.51;
}  // namespace Const
