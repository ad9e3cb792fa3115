#pragma once

// The charge optimisation: its settings and probed atoms.
#include "charge/ChargeSettings.h"
