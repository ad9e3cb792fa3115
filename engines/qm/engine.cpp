#include "engine.h"

#include <cstdlib>
#include <stdexcept>

#include "level_of_theory.h"
#include "psi4_runner.h"
#include "xtb_runner.h"

std::unique_ptr<QmEngine> SelectEngine(const Deck& deck) {
  const char* chosen = std::getenv("QM2FF_QM_ENGINE");
  const std::string name = chosen == nullptr ? "" : chosen;
  if (name.empty() || name == "xtb") return std::make_unique<XtbEngine>();
  if (name == "psi4") return std::make_unique<Psi4Engine>(ReadLevelOfTheory(deck.route.method, deck.multiplicity));
  throw std::runtime_error("unknown QM engine \"" + name + "\" in QM2FF_QM_ENGINE (xtb or psi4)");
}
