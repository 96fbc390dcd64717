#include "smart/model_rows.h"

#include <utility>

#include "table/dictionary_queries.h"

namespace ferrolune::smart {

namespace {

template <class Rows, class Query>
model::ModelResult<std::shared_ptr<const Rows>> memoised(KeyCache<std::shared_ptr<const Rows>>& cache,
                                                         std::size_t& queries, std::string_view key,
                                                         Query query) {
  if (const auto* hit = cache.find(key)) return *hit;
  ++queries;
  auto rows = query();
  if (!rows) return std::unexpected(std::move(rows.error()));
  auto shared = std::make_shared<const Rows>(std::move(*rows));
  cache.insert(key, shared);
  return shared;
}

}  // namespace

model::ModelResult<std::shared_ptr<const UnigramRows>> ModelRows::unigrams(
    const model::ModelDatabase& model, std::string_view key) {
  return memoised(unigrams_, queries_, key, [&] { return table::query_unigrams(model, key); });
}

model::ModelResult<std::shared_ptr<const DictionaryValues>> ModelRows::dictionary_values(
    const model::ModelDatabase& model, std::string_view key) {
  return memoised(values_, queries_, key, [&] {
    return table::query_values(model, table::DictionaryTable::Bopomofo, key);
  });
}

model::ModelResult<std::shared_ptr<const BigramRows>> ModelRows::bigrams(
    const model::ModelDatabase& model, std::string_view pair_key) {
  return memoised(bigrams_, queries_, pair_key,
                  [&] { return table::query_bigrams(model, pair_key); });
}

model::ModelResult<double> ModelRows::max_probability(const model::ModelDatabase& model) {
  if (max_probability_) return *max_probability_;
  ++queries_;
  auto maximum = table::max_unigram_probability(model);
  if (maximum) max_probability_ = *maximum;
  return maximum;
}

}  // namespace ferrolune::smart
