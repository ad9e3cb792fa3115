#include "table_file.h"

#include <fstream>
#include <stdexcept>

#include "errors.h"
#include "io.h"

namespace {

std::string Line(const TableRow& columns, const TableRow& row) {
  if (row.size() != columns.size())
    throw std::logic_error(Format("a table row of %zu words under a header of %zu", row.size(), columns.size()));
  std::string line;
  for (const std::string& word : row) line += (line.empty() ? "" : " ") + word;
  return line + "\n";
}

void Write(const std::string& path, std::ios::openmode mode, const std::string& text) {
  std::ofstream out(path, std::ios::binary | mode);
  out << text;
  out.close();
  if (!out) EndProcess(1, "$ err unable to open file : " + path + "\n");
}

}  // namespace

std::string TableWord(Real x) { return Format("%.6f", x); }

void WriteTable(const std::string& path, const TableRow& columns, const std::vector<TableRow>& rows) {
  std::string text = Line(columns, columns);
  for (const TableRow& row : rows) text += Line(columns, row);
  Write(path, std::ios::trunc, text);
}

void AppendTableRow(const std::string& path, const TableRow& columns, const TableRow& row) {
  std::ifstream existing(path, std::ios::binary | std::ios::ate);
  const bool empty = !existing || existing.tellg() <= 0;
  Write(path, std::ios::app, (empty ? Line(columns, columns) : "") + Line(columns, row));
}
