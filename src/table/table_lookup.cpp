#include "table/table_lookup.h"

#include <algorithm>
#include <cstdint>
#include <unordered_set>
#include <utility>

#include "base/utf8.h"
#include "table/canonical_candidate.h"
#include "table/common_characters.h"
#include "table/unicode_tables.h"
#include "table/wildcards.h"

namespace ferrolune::table {
namespace {

using model::ModelResult;

constexpr std::size_t kMaxPrefixKeyLength = 5;
constexpr std::size_t kMaxCompletedKeyLength = 4;

bool is_code_letter_key(std::string_view key) {
  return !key.empty() && key.size() <= kMaxPrefixKeyLength &&
         std::all_of(key.begin(), key.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

bool keeps(const TableLookup& lookup, std::string_view value) {
  return !lookup.filter || lookup.filter->accepts(value);
}

bool starts_with_symbol(std::string_view value) {
  std::size_t pos = 0;
  const auto first = base::next_scalar(value, pos);
  return first && is_separator_punctuation_or_symbol(*first);
}

ModelResult<std::vector<std::string>> base_list(const model::ModelDatabase& model,
                                                const TableLookup& lookup,
                                                const Wildcards& wildcards, bool wildcard_key) {
  if (wildcard_key) {
    return query_values_glob(model, lookup.method, translate_wildcards(lookup.key, wildcards));
  }
  if (lookup.punctuation != PunctuationStyle::Original) {
    auto punctuation = query_punctuation(model, lookup.punctuation, lookup.key);
    if (!punctuation || !punctuation->empty()) return punctuation;
  }
  return query_values(model, lookup.method, lookup.key);
}

struct RankedCompletion {
  std::uint64_t rank;
  std::string value;
};

// Appends to `out` the completions of a key of 1 to 4 letters; `seen`
// holds the canonical forms already shown.
ModelResult<void> add_completions(const model::ModelDatabase& model, const TableLookup& lookup,
                                  std::unordered_set<std::string>& seen,
                                  std::vector<std::string>& out) {
  auto statement = model::prepare_model_query(model.connection(), kCompletionSql, lookup.key + "?*");
  if (!statement) return std::unexpected(std::move(statement.error()));
  std::vector<RankedCompletion> completions;
  completions.reserve(kMaxCompletions + 1);
  for (;;) {
    const int rc = statement->step();
    if (rc == SQLITE_DONE) break;
    if (rc != SQLITE_ROW) return model::model_query_failure(model.connection());
    auto value = model::read_model_text(*statement, 0, "value");
    if (!value) return std::unexpected(std::move(value.error()));
    if (value->empty() || starts_with_symbol(*value)) continue;
    std::string canonical = canonical_candidate(*value);
    if (seen.contains(canonical)) continue;
    const std::uint64_t rank = common_character_rank(canonical);
    if (completions.size() == kMaxCompletions && completions.back().rank <= rank) continue;
    if (!keeps(lookup, *value)) continue;
    seen.insert(std::move(canonical));
    // After every entry of lower or equal rank: equal ranks keep row order.
    const auto at = std::upper_bound(
        completions.begin(), completions.end(), rank,
        [](std::uint64_t r, const RankedCompletion& entry) { return r < entry.rank; });
    completions.insert(at, RankedCompletion{rank, std::move(*value)});
    if (completions.size() > kMaxCompletions) completions.pop_back();
  }
  for (RankedCompletion& completion : completions) out.push_back(std::move(completion.value));
  return {};
}

}  // namespace

ModelResult<TableLookupResult> lookup_table_candidates(const model::ModelDatabase& model,
                                                       const TableLookup& lookup) {
  const Wildcards wildcards = resolve_wildcards(lookup.method, lookup.wildcards);
  TableLookupResult result;
  result.wildcard_used = is_wildcard_key(lookup.key, wildcards);
  result.prefix_applied = lookup.method == DictionaryTable::Cangjie && lookup.prefix &&
                          !result.wildcard_used && is_code_letter_key(lookup.key);

  auto found = base_list(model, lookup, wildcards, result.wildcard_used);
  if (!found) return std::unexpected(std::move(found.error()));
  std::vector<std::string> filtered;
  filtered.reserve(found->size());
  for (std::string& value : *found) {
    // Empty values are kept as they are; the filter only judges texts.
    if (value.empty() || keeps(lookup, value)) filtered.push_back(std::move(value));
  }

  if (!result.prefix_applied) {
    result.exact_matches = filtered;
    result.candidates = std::move(filtered);
    return result;
  }

  std::unordered_set<std::string> seen;
  for (std::string& value : filtered) {
    if (seen.insert(canonical_candidate(value)).second) {
      result.exact_matches.push_back(std::move(value));
    }
  }
  result.candidates = result.exact_matches;
  if (lookup.key.size() <= kMaxCompletedKeyLength) {
    if (auto completed = add_completions(model, lookup, seen, result.candidates); !completed) {
      return std::unexpected(std::move(completed.error()));
    }
  }
  return result;
}

}  // namespace ferrolune::table
