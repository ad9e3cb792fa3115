#pragma once

#include <string>

namespace Gaussian {

// Options of every QM job.
class GaussianJob {
 public:
  int nproc = 1;
  std::string QMTheory = "HF/6-31G*";
  std::string command = "g09";
  std::string addCommand;  // extra Link 0 / route text from `gausscommand`
};

extern GaussianJob options;

}  // namespace Gaussian
