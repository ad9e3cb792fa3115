#pragma once

// The bonded-parameter fit: its settings and free-parameter list.
#include "intra/ParamToOpt.h"
#include "intra/settings.h"
