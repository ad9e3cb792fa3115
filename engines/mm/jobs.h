#pragma once

#include <map>
#include <ostream>
#include <string>

#include "job_script.h"

// The five jobs of the engine. Each reads its inputs from the current
// directory, computes everything, and only then writes its output files, so
// a job that fails leaves none of them behind.
namespace mm {

// Runs the job of script; writes the log to log. Throws InputError or
// std::runtime_error on faulty input.
void RunJob(const JobScript& script, const std::map<std::string, std::string>& settings,
            std::ostream& log);

}  // namespace mm
