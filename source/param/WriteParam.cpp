// The bonded parameter table as text: the listing on the standard output and
// the CHARMM parameter file of the entries being fitted.
#include <cstdio>
#include <fstream>

#include "../errors.h"
#include "../io.h"
#include "../util.h"
#include "param.h"

namespace {

const char* YesNo(int fOpt) { return fOpt ? "yes" : "no"; }

// " !" and the comment, or nothing for an empty comment.
std::string CommentTail(const std::string& comment) {
  return comment.empty() ? "" : " !" + comment;
}

}  // namespace

void Param::PrintParam() const {
  std::string out = "BOND\n";
  for (int e = 0; e < nbonds; ++e) {
    const auto& b = bond[e];
    out += Format("%7s %7s %10.5f %10.5f !", b.atp1.c_str(), b.atp2.c_str(), b.force, b.rmin) +
           Format(" optimize : %3s | ", YesNo(b.fOpt)) + "read from : " + b.paramfile + "\n";
  }
  out += "ANGL\n";
  for (int e = 0; e < nangles; ++e) {
    const auto& a = angle[e];
    out += Format("%7s %7s %7s", a.atp1.c_str(), a.atp2.c_str(), a.atp3.c_str()) +
           Format(" %10.5f %10.5f", a.force, a.amin) +
           (a.ub ? Format(" %10.5f %10.5f", a.kub, a.s0) : Format(" %21s", "")) +
           Format(" ! optimize : %3s | ", YesNo(a.fOpt)) + "read from : " + a.paramfile + "\n";
  }
  out += "DIHE\n";
  for (int e = 0; e < ndihe; ++e) {
    const auto& d = dihe[e];
    for (int n = 0; n < kDiheTerms; ++n) {
      if (!d.NonZero[n]) continue;
      out += Format("%7s %7s %7s %7s", d.atp1.c_str(), d.atp2.c_str(), d.atp3.c_str(),
                    d.atp4.c_str()) +
             Format(" %10.5f %i %10.5f", d.force[n], n + 1, d.angle[n]) +
             Format(" ! optimize : %3s |", YesNo(d.fOpt)) + " read from : " + d.paramfile[n] + "\n";
    }
  }
  out += "IMPR\n";
  for (int e = 0; e < nimpr; ++e) {
    const auto& m = impr[e];
    out +=
        Format("%7s %7s %7s %7s", m.atp1.c_str(), m.atp2.c_str(), m.atp3.c_str(), m.atp4.c_str()) +
        Format(" %10.5f 0 0.0", m.force) + Format(" ! optimize : %3s |", YesNo(m.fOpt)) +
        " read from : " + m.paramfile + "\n";
  }
  out += "\n\n";
  std::fputs(out.c_str(), stdout);
}

void Param::write_param() const {
  const std::string path = fpath + "/add_para.inp";
  std::ofstream file(path, std::ios::trunc);
  if (!file) EndProcess(1, "$ err unable to open file : " + path + "\n");

  std::string out = "BONDS\n";
  for (int e = 0; e < nbonds; ++e) {
    const auto& b = bond[e];
    if (!b.fOpt) continue;
    out += Format("%7s %7s %10.5f %10.5f ", b.atp1.c_str(), b.atp2.c_str(), b.force, b.rmin) +
           CommentTail(b.comment) + "\n";
  }
  out += "\nANGLES\n";
  for (int e = 0; e < nangles; ++e) {
    const auto& a = angle[e];
    if (!a.fOpt) continue;
    out += Format("%7s %7s %7s %10.5f %10.5f ", a.atp1.c_str(), a.atp2.c_str(), a.atp3.c_str(),
                  a.force, a.amin);
    if (a.ub == 1) out += " " + prd(a.kub, 5, 12) + " " + prd(a.s0, 5, 12);
    out += " !" + a.comment + "\n";
  }
  out += "\nDIHEDRALS\n";
  for (int e = 0; e < ndihe; ++e) {
    const auto& d = dihe[e];
    if (!d.fOpt) continue;
    for (int n = 0; n < d.ntms && n < kDiheTerms; ++n) {
      if (d.NonZero[n] < 1) continue;
      out += Format("%7s %7s %7s %7s %10.5f %4i %9.1f ", d.atp1.c_str(), d.atp2.c_str(),
                    d.atp3.c_str(), d.atp4.c_str(), d.force[n], n + 1, d.angle[n]) +
             CommentTail(d.comment) + "\n";
    }
  }
  out += "\nIMPROPER\n";
  for (int e = 0; e < nimpr; ++e) {
    const auto& m = impr[e];
    if (!m.fOpt) continue;
    out += Format("%7s %7s %7s %7s %10.5f 0 0.0 ", m.atp1.c_str(), m.atp2.c_str(), m.atp3.c_str(),
                  m.atp4.c_str(), m.force) +
           CommentTail(m.comment) + "\n";
  }
  out += "\n";
  file << out;
  if (!file.flush()) EndProcess(1, "$ err unable to write file : " + path + "\n");
}
