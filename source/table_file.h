#pragma once

// Tables that the fit leaves for programs that read its results (the report
// script): a header line of column names, then one line per row, one word
// per column, words separated by one blank. Sample:
//   step families total scan_energy
//   1 dihe 8.714000 6.120000
#include <string>
#include <vector>

#include "constants.h"

using TableRow = std::vector<std::string>;

// x as a table word: fixed notation with 6 decimals.
std::string TableWord(Real x);

// Writes the header and the rows as the whole content of path. A row whose
// width differs from the header's raises std::logic_error; a file that cannot
// be written ends the process with "$ err unable to open file : " and the
// path.
void WriteTable(const std::string& path, const TableRow& columns, const std::vector<TableRow>& rows);

// Appends one row to path, first writing the header when the file is absent
// or empty. Failures as for WriteTable.
void AppendTableRow(const std::string& path, const TableRow& columns, const TableRow& row);
