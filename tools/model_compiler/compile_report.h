// What the compiler tells its user: how many readings it converted, each
// reading it could not convert, every row it dropped (counted by reason),
// the rows of each table, the file size and the time taken.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace ferrolune::model_compiler {

struct CompileReport {
  std::size_t readings_converted = 0;
  // One line per dictionary entry whose reading did not convert
  // ("file:line: text reading: syllable"), in file order.
  std::vector<std::string> unconverted_readings;
  // Distinct unconvertible syllables and the number of entries each cost.
  std::map<std::string, std::size_t> unconverted_syllables;
  // Dropped rows by reason, and up to a few examples of each.
  std::map<std::string, std::size_t> dropped;
  std::map<std::string, std::vector<std::string>> dropped_examples;
  // Derived facts worth a line of their own ("essay words given derived readings").
  std::map<std::string, std::size_t> counts;
  // Rows written per table, in writing order.
  std::vector<std::pair<std::string, std::size_t>> table_rows;
  std::uintmax_t file_size = 0;
  double seconds = 0;

  void drop(const std::string& reason, const std::string& example);
  void print(std::ostream& out) const;
};

}  // namespace ferrolune::model_compiler
