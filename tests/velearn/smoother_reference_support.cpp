#include "velearn/smoother_reference_support.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vantor::test {

namespace {

template <typename T>
std::vector<T> ReadAll(std::istringstream& in) {
  std::vector<T> v;
  T value;
  while (in >> value) v.push_back(value);
  return v;
}

std::vector<double> ReadCounted(std::istringstream& in) {
  std::size_t count = 0;
  in >> count;
  std::vector<double> v = ReadAll<double>(in);
  if (v.size() != count) throw std::runtime_error("knot count mismatch");
  return v;
}

// strtod reads every value exactly, including the shortest round-trip form.
std::vector<double> ReadDoubles(const std::string& rest) {
  std::vector<double> v;
  std::istringstream in(rest);
  std::string token;
  while (in >> token) v.push_back(std::stod(token));
  return v;
}

}  // namespace

std::vector<SmootherCase> ReadSmootherCases(const std::string& path) {
  std::ifstream file(path);
  std::vector<SmootherCase> cases;
  SmootherCase current;
  std::string line;
  while (std::getline(file, line)) {
    const auto space = line.find(' ');
    const std::string word = line.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : line.substr(space + 1);
    std::istringstream in(rest);
    if (word == "case") {
      current = SmootherCase{};
      current.name = rest;
    } else if (word == "factor") {
      in >> current.factor;
    } else if (word == "cells") {
      current.cells = ReadAll<int>(in);
    } else if (word == "ier") {
      in >> current.ier;
      current.hasResult = true;
    } else if (word == "fp") {
      current.fp = std::stod(rest);
    } else if (word == "tx") {
      current.tx = ReadCounted(in);
    } else if (word == "ty") {
      current.ty = ReadCounted(in);
    } else if (word == "values") {
      current.values = ReadDoubles(rest);
    } else if (word == "written") {
      current.written = ReadAll<int>(in);
    } else if (word == "end") {
      if (current.cells.size() != kVeRows * kVeColumns) throw std::runtime_error(current.name);
      cases.push_back(current);
    }
  }
  return cases;
}

bool WriteSmootherInputs(const std::string& path, const std::vector<SmootherCase>& cases) {
  std::ofstream out(path);
  for (const SmootherCase& c : cases) {
    out << "case " << c.name << "\nfactor " << c.factor << "\ncells";
    for (int v : c.cells) out << ' ' << v;
    out << "\nend\n";
  }
  return static_cast<bool>(out.flush());
}

VeTable TableFromCells(const std::vector<int>& cells) {
  VeTable t;
  for (int r = 0; r < kVeRows; ++r) {
    for (int c = 0; c < kVeColumns; ++c) t.At(r + 1, c + 1) = cells[r * kVeColumns + c];
  }
  return t;
}

std::vector<int> CellsOf(const VeTable& table) {
  std::vector<int> cells;
  for (int r = 1; r <= kVeRows; ++r) {
    for (int c = 1; c <= kVeColumns; ++c) cells.push_back(table.At(r, c));
  }
  return cells;
}

}  // namespace vantor::test
