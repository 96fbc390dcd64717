// The candidate lookup of the Cangjie and Simplex methods: a wildcard key
// becomes a GLOB query, an ordinary key is looked up in the punctuation
// table first (when a style is on) and in the method's table otherwise,
// the session's filter removes what the caller refuses, and in prefix mode
// (Cangjie, 1 to 5 letters a-z) the exact candidates are de-duplicated by
// canonical form and followed by at most kMaxCompletions completions from
// longer codes, common characters first.
//
// The completions take one pass over the matching rows and no sort: the
// list is kept ordered by rank and bounded while the rows stream by.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/options.h"
#include "model/error.h"
#include "model/model_database.h"
#include "table/candidate_filter.h"
#include "table/dictionary_queries.h"

namespace ferrolune::table {

inline constexpr std::size_t kMaxCompletions = 36;
// Codes of at most five letters a-z that are longer than the key.
inline constexpr std::string_view kCompletionSql =
    "SELECT value FROM \"Generic-cj-cin\" WHERE key GLOB ?1 AND length(key) <= 5 "
    "AND key NOT GLOB '*[^a-z]*' ORDER BY rowid";

struct TableLookup {
  DictionaryTable method = DictionaryTable::Cangjie;  // Cangjie or Simplex
  std::string key;
  std::optional<TableWildcards> wildcards;  // unset: the method's default
  bool prefix = false;
  PunctuationStyle punctuation = PunctuationStyle::Original;
  // Null accepts everything.
  std::shared_ptr<const CandidateFilter> filter;
};

struct TableLookupResult {
  std::vector<std::string> candidates;     // the list to show
  std::vector<std::string> exact_matches;  // what matched the key itself
  bool prefix_applied = false;
  bool wildcard_used = false;
  friend bool operator==(const TableLookupResult&, const TableLookupResult&) = default;
};

// The first failing query (punctuation, base or completion) ends the
// lookup with its error.
model::ModelResult<TableLookupResult> lookup_table_candidates(const model::ModelDatabase& model,
                                                              const TableLookup& lookup);

}  // namespace ferrolune::table
