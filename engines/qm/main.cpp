// g09: the stand-in QM program. Reads a Gaussian input deck on standard input,
// computes with the engine QM2FF_QM_ENGINE names (xtb, the default, or psi4)
// and writes a Gaussian-style output on standard output. Exit status 0 after
// "Normal termination", 1 after an "Error termination" line that names the
// problem.
#include <cstdio>
#include <exception>
#include <iostream>

#include "calculations.h"
#include "deck.h"
#include "engine.h"
#include "output.h"

namespace {

int Finish(const Output& out, int status) {
  std::fwrite(out.text.data(), 1, out.text.size(), stdout);
  std::fflush(stdout);
  return status;
}

}  // namespace

int main() {
  Output out;
  try {
    const Deck deck = ParseDeck(std::cin);
    const std::unique_ptr<QmEngine> engine = SelectEngine(deck);
    WriteHeader(out, deck, engine->Description());
    if (!RunCalculation(deck, *engine, out)) {
      out.Printf(" Error termination request processed by link 9999.\n");
      std::fprintf(stderr, "g09: the optimisation did not converge\n");
      return Finish(out, 1);
    }
    WriteNormalTermination(out);
    return Finish(out, 0);
  } catch (const std::exception& e) {
    WriteErrorTermination(out, e.what());
    std::fprintf(stderr, "g09: %s\n", e.what());
    return Finish(out, 1);
  }
}
