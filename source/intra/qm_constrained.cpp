#include "intra/qm_constrained.h"

#include <filesystem>
#include <fstream>
#include <utility>

#include "charmm.h"
#include "errors.h"
#include "io.h"

std::vector<CConstraint> TermConstraints(const CMolecule::ClassPESScanBonded& t, Real value) {
  std::vector<CConstraint> cons;
  CConstraint own;
  for (std::size_t k = 0; k < t.aid.size(); ++k) own.aid.at(k) = t.aid[k];
  own.val = value;
  own.type = t.type;
  cons.push_back(own);
  for (const Constraint& c : t.cons) cons.push_back(DiheConstraint(c.aid, c.val));
  return cons;
}

CConstraint DiheConstraint(const std::vector<int>& aid, Real value) {
  CConstraint c;
  for (std::size_t k = 0; k < 4; ++k) c.aid[k] = aid.at(k);
  c.val = value;
  c.type = 'd';
  return c;
}

void PrepareConstrainedQMOptimization(CMolecule& m, const std::string& inp, const std::string& out,
                                      std::vector<Real> cr, const std::vector<CConstraint>& cons,
                                      std::vector<Gaussian::QMJob>& batch) {
  // A complete output stays the result while the deck holds the same job,
  // whatever start structure the CHARMM pre-minimisation would give now.
  if (GaussianOutputComplete(out) && !Gaussian::OptimizeDeckChanged(m, inp, cons)) return;
  // The deck must be writable before the pre-minimisation runs; a deck that
  // was not there is not left behind empty.
  const bool hadDeck = std::filesystem::exists(inp);
  if (!std::ofstream(inp, std::ios::app)) EndProcess(1, "$ err unable to open file : " + inp + "\n");
  if (!hadDeck) std::filesystem::remove(inp);
  CHARMM::Optimize(m, inp, out, cr, cons);
  Gaussian::WriteOptimizeDeck(m, inp, out, cr, cons);
  batch.push_back({inp, out});
}

Gaussian::GaussianOutputData ConstrainedQMOptimization(CMolecule& m, const std::string& inp,
                                                       const std::string& out, std::vector<Real> cr,
                                                       const std::vector<CConstraint>& cons) {
  std::vector<Gaussian::QMJob> batch;
  PrepareConstrainedQMOptimization(m, inp, out, std::move(cr), cons, batch);
  Gaussian::RunQMBatch(batch);
  return ReadConstrainedQMOptimization(m, out);
}

Gaussian::GaussianOutputData ReadConstrainedQMOptimization(const CMolecule& m,
                                                           const std::string& out) {
  const Gaussian::GaussianOutputData w = Gaussian::ReadJobOutput(out, Gaussian::JobKind::ConstrainedOptimisation);
  const std::size_t have = w.prop.xyzInputOrient.size();
  if (have != static_cast<std::size_t>(m.natm) * 3) {
    throw DetailedError(
        Format("$ err gaussian output %s holds %zu input-orientation coordinates, "
               "%d expected: inspect or remove it",
               out.c_str(), have, m.natm * 3));
  }
  if (!w.IfRead("energy"))
    throw DetailedError("$ err gaussian output " + out + " holds no energy: inspect or remove it");
  return w;
}

void SetComparisonCoordinates(CMolecule& m, const std::vector<Real>& xyz) {
  for (int i = 0; i < m.natm; ++i)
    for (int c = 0; c < 3; ++c)
      m.atom.at(i).xyzcomp[c] = xyz.at(static_cast<std::size_t>(i) * 3 + c);
}

GeometryGuard::GeometryGuard(CMolecule& m) : m_(m), stored_(m.xyz) {
  for (int i = 0; i < m.natm; ++i) active_.push_back(m.atom.at(i).xyz);
}

GeometryGuard::~GeometryGuard() {
  for (std::size_t i = 0; i < active_.size() && i < m_.atom.size(); ++i)
    m_.atom[i].xyz = active_[i];
  m_.xyz = stored_;
  m_.fill_rv();
}
