// g09: the stand-in QM program. Reads a Gaussian input deck on standard input,
// computes with the engine QM2FF_QM_ENGINE names (xtb, the default, or psi4)
// and writes a Gaussian-style output on standard output. Exit status 0 after
// "Normal termination", 1 after an "Error termination" line that names the
// problem. A stop signal (Ctrl-C, kill) ends the engine runs, leaves the output
// without a termination line, says so on the error stream and ends g09 by the
// same signal.
#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>

#include "calculations.h"
#include "deck.h"
#include "engine.h"
#include "output.h"
#include "process.h"

namespace {

int Finish(const Output& out, int status) {
  std::fwrite(out.text.data(), 1, out.text.size(), stdout);
  std::fflush(stdout);
  return status;
}

}  // namespace

int main() {
  Output out;
  NoteStopSignals();
  try {
    const Deck deck = ParseDeck(std::cin);
    const std::unique_ptr<QmEngine> engine = SelectEngine(deck);
    WriteHeader(out, deck, engine->Description());
    const bool converged = RunCalculation(deck, *engine, out);
    if (NotedStopSignal() != 0) throw Interrupted(NotedStopSignal());
    if (!converged) {
      out.Printf(" Error termination request processed by link 9999.\n");
      std::fprintf(stderr, "g09: the optimisation did not converge\n");
      return Finish(out, 1);
    }
    WriteNormalTermination(out);
    return Finish(out, 0);
  } catch (const Interrupted& e) {
    // Like a killed Gaussian job: the output so far, without a termination
    // line, and the end by the signal itself.
    Finish(out, 1);
    std::fprintf(stderr, "g09: %s; the output has no termination line\n", e.what());
    std::signal(e.signal, SIG_DFL);
    std::raise(e.signal);
    return 128 + e.signal;
  } catch (const std::exception& e) {
    WriteErrorTermination(out, e.what());
    std::fprintf(stderr, "g09: %s\n", e.what());
    return Finish(out, 1);
  }
}
