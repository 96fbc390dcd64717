// The key lookups on the shared model: the three dictionary tables (exact
// key or GLOB pattern), the two punctuation tables and the language-model
// rows. Every query binds its key as ?1 text, returns every matching row
// in rowid order (row order is candidate order) and no partial list on
// failure. A key holding a NUL byte is refused with InvalidInput before
// any SQL runs; an empty key is an ordinary key.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/options.h"
#include "model/error.h"
#include "model/model_database.h"
#include "model/records.h"

namespace ferrolune::table {

// The ordinals are the method indexes other code uses.
enum class DictionaryTable : std::uint8_t { Bopomofo = 0, Cangjie = 1, Simplex = 2 };

inline constexpr std::string_view kBopomofoValuesSql =
    "SELECT value FROM \"Mandarin-bpmf-cin\" WHERE key = ?1 ORDER BY rowid";
inline constexpr std::string_view kCangjieValuesSql =
    "SELECT value FROM \"Generic-cj-cin\" WHERE key = ?1 ORDER BY rowid";
inline constexpr std::string_view kSimplexValuesSql =
    "SELECT value FROM \"Generic-simplex-cin\" WHERE key = ?1 ORDER BY rowid";
inline constexpr std::string_view kBopomofoGlobSql =
    "SELECT value FROM \"Mandarin-bpmf-cin\" WHERE key GLOB ?1 ORDER BY rowid";
inline constexpr std::string_view kCangjieGlobSql =
    "SELECT value FROM \"Generic-cj-cin\" WHERE key GLOB ?1 ORDER BY rowid";
inline constexpr std::string_view kSimplexGlobSql =
    "SELECT value FROM \"Generic-simplex-cin\" WHERE key GLOB ?1 ORDER BY rowid";
inline constexpr std::string_view kMixedPunctuationSql =
    "SELECT value FROM \"Punctuations-cj-mixedwidth-cin\" WHERE key = ?1 ORDER BY rowid";
inline constexpr std::string_view kHalfPunctuationSql =
    "SELECT value FROM \"Punctuations-cj-halfwidth-cin\" WHERE key = ?1 ORDER BY rowid";
inline constexpr std::string_view kUnigramsSql =
    "SELECT qstring, current, probability, backoff FROM unigrams WHERE qstring = ?1 ORDER BY rowid";
inline constexpr std::string_view kBigramsSql =
    "SELECT qstring, previous, current, probability FROM bigrams WHERE qstring = ?1 ORDER BY rowid";
inline constexpr std::string_view kMaxUnigramProbabilitySql = "SELECT MAX(probability) FROM unigrams";

// The maximum reported for a model whose largest probability is 0 or
// absent: a log probability must stay below zero.
inline constexpr double kEmptyUnigramMaximum = -0.0000001;

// InvalidInput "query key must not contain NUL" for a key with a NUL byte.
model::ModelResult<void> check_query_key(std::string_view key);

// The `value` column for `key` in the table.
model::ModelResult<std::vector<std::string>> query_values(const model::ModelDatabase& model,
                                                          DictionaryTable table,
                                                          std::string_view key);

// The `value` column of every key matching the GLOB `pattern`.
model::ModelResult<std::vector<std::string>> query_values_glob(const model::ModelDatabase& model,
                                                               DictionaryTable table,
                                                               std::string_view pattern);

// The values of `key` in the style's punctuation table. `Original` has no
// table and yields an empty list without touching the model. A model
// without the table fails with QueryFailed.
model::ModelResult<std::vector<std::string>> query_punctuation(const model::ModelDatabase& model,
                                                               PunctuationStyle style,
                                                               std::string_view key);

model::ModelResult<std::vector<model::Unigram>> query_unigrams(const model::ModelDatabase& model,
                                                               std::string_view qstring);
model::ModelResult<std::vector<model::Bigram>> query_bigrams(const model::ModelDatabase& model,
                                                             std::string_view qstring);

// The largest unigram probability; kEmptyUnigramMaximum when the table is
// empty or its maximum is 0.
model::ModelResult<double> max_unigram_probability(const model::ModelDatabase& model);

}  // namespace ferrolune::table
