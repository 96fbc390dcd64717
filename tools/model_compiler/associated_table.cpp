#include "associated_table.h"

#include <algorithm>
#include <map>
#include <string>
#include <unordered_set>

#include "base/utf8.h"

namespace ferrolune::model_compiler {

AssociatedTables build_associated_tables(const FrequencyList& frequencies, CompileReport& report) {
  struct Continuation {
    std::string text;
    std::uint64_t count;
    std::size_t order;
  };
  std::map<std::string, std::vector<Continuation>> heads;
  std::unordered_set<std::string> seen;
  for (std::size_t i = 0; i < frequencies.entries.size(); ++i) {
    const auto& entry = frequencies.entries[i];
    std::size_t pos = 0;
    if (!base::next_scalar(entry.text, pos) || pos == entry.text.size()) continue;
    if (!seen.insert(entry.text).second) continue;
    std::string rest = entry.text.substr(pos);
    if (rest.find(',') != std::string::npos) {
      report.drop("associated phrases containing a comma", entry.text);
      continue;
    }
    heads[entry.text.substr(0, pos)].push_back({std::move(rest), entry.count, i});
  }

  AssociatedTables tables;
  for (auto& [head, continuations] : heads) {
    std::ranges::sort(continuations, [](const Continuation& a, const Continuation& b) {
      return a.count != b.count ? a.count > b.count : a.order < b.order;
    });
    std::string data;
    for (const auto& continuation : continuations) {
      if (!data.empty()) data += ',';
      data += continuation.text;
    }
    tables.phrases.push_back({head, std::move(data), kAssociatedSource});
  }
  tables.collections.push_back({kAssociatedSource, kAssociatedDisplay, 0});
  return tables;
}

}  // namespace ferrolune::model_compiler
