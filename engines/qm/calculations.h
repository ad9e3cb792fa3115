#pragma once

#include "deck.h"
#include "engine.h"
#include "output.h"

// Carries out with the engine what the deck's route asks for (single point, Cartesian or
// Z-matrix optimisation, Merz-Kollman population) and appends the results to
// out in the layout of the real program, the final geometry's tables last.
// Returns false when an optimisation ran out of steps (the output then ends
// with an error termination, as the real program's does). Throws DeckError or
// std::runtime_error for decks it cannot compute.
bool RunCalculation(const Deck& deck, const QmEngine& engine, Output& out);
