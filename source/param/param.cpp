#include "param.h"

namespace {

// The record at position count, made when the list is shorter; count grows.
template <class Entry>
Entry& NextEntry(std::vector<Entry>& list, int& count) {
  const auto at = static_cast<std::size_t>(count);
  if (list.size() <= at) list.resize(at + 1);
  ++count;
  return list[at];
}

}  // namespace

Param::Param() : relDihe(kRelDiheSize, std::vector<int>(kRelDiheSize, 0)) {}

Param::Bonds& Param::AddBond() { return NextEntry(bond, nbonds); }
Param::Angles& Param::AddAngle() { return NextEntry(angle, nangles); }
Param::Dihes& Param::AddDihe() { return NextEntry(dihe, ndihe); }
Param::Imprs& Param::AddImpr() { return NextEntry(impr, nimpr); }

bool compareBond(const std::string& a1, const std::string& a2, const std::string& b1,
                 const std::string& b2) {
  return (a1 == b1 && a2 == b2) || (a2 == b1 && a1 == b2);
}

bool compareAngle(const std::string& a1, const std::string& a2, const std::string& a3,
                  const std::string& b1, const std::string& b2, const std::string& b3) {
  if (a2 != b2) return false;
  return (a1 == b1 && a3 == b3) || (a3 == b1 && a1 == b3);
}

bool compareDihe(const std::string& a1, const std::string& a2, const std::string& a3,
                 const std::string& a4, const std::string& b1, const std::string& b2,
                 const std::string& b3, const std::string& b4) {
  if (a1 == b1 && a2 == b2 && a3 == b3 && a4 == b4) return true;
  if (a4 == b1 && a3 == b2 && a2 == b3 && a1 == b4) return true;
  if (a1 == "X" && a4 == "X") return (a2 == b2 && a3 == b3) || (a2 == b3 && a3 == b2);
  return false;
}

bool compareImpr(const std::string& a1, const std::string& a2, const std::string& a3,
                 const std::string& a4, const std::string& b1, const std::string& b2,
                 const std::string& b3, const std::string& b4) {
  if (a1 == b1 && a2 == b2 && a3 == b3 && a4 == b4) return true;
  if (a4 == b1 && a3 == b2 && a2 == b3 && a1 == b4) return true;
  if (a2 == "X" && a3 == "X") return (a1 == b1 && a4 == b4) || (a1 == b4 && a4 == b1);
  return false;
}
