#include "compile_report.h"

#include <cstdio>

namespace ferrolune::model_compiler {
namespace {
constexpr std::size_t kExamplesPerReason = 5;
}

void CompileReport::drop(const std::string& reason, const std::string& example) {
  ++dropped[reason];
  auto& examples = dropped_examples[reason];
  if (examples.size() < kExamplesPerReason) examples.push_back(example);
}

void CompileReport::print(std::ostream& out) const {
  out << "readings converted: " << readings_converted << "\n";
  out << "readings not converted: " << unconverted_readings.size() << "\n";
  for (const auto& line : unconverted_readings) out << "  " << line << "\n";
  for (const auto& [syllable, entries] : unconverted_syllables) {
    out << "  syllable " << syllable << ": " << entries << " entries\n";
  }
  std::size_t total_dropped = 0;
  for (const auto& [reason, rows] : dropped) total_dropped += rows;
  out << "rows dropped: " << total_dropped << "\n";
  for (const auto& [reason, rows] : dropped) {
    out << "  " << reason << ": " << rows;
    const auto& examples = dropped_examples.at(reason);
    for (std::size_t i = 0; i < examples.size(); ++i) out << (i == 0 ? " (e.g. " : ", ") << examples[i];
    out << (examples.empty() ? "" : ")") << "\n";
  }
  for (const auto& [what, number] : counts) out << what << ": " << number << "\n";
  out << "rows per table:\n";
  for (const auto& [table, rows] : table_rows) out << "  " << table << ": " << rows << "\n";
  char time[32];
  std::snprintf(time, sizeof time, "%.1f", seconds);
  out << "file size: " << file_size << " bytes\n";
  out << "time: " << time << " s\n";
}

}  // namespace ferrolune::model_compiler
