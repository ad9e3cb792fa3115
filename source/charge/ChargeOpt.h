#pragma once

// The charge optimisation: its settings and probed atoms, the water probes
// and their QM references, the objective, the charge relations, the driver,
// the report and the script section.
#include "charge/ChargeSettings.h"
#include "charge/driver.h"
#include "charge/objective.h"
#include "charge/probe_qm.h"
#include "charge/relations.h"
#include "charge/report.h"
#include "charge/section.h"
#include "charge/water.h"
