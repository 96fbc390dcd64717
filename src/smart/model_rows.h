// ModelRows: a memo of the model's raw rows by key (unigram rows, phonetic
// dictionary values, bigram rows). The model is opened read-only and never
// changes under a session, so a row set read once stays true; the memo is
// what keeps a re-walk after every key from going back to SQLite.
//
// The memo is shared (through std::shared_ptr) by a converter and all its
// copies, including the rollback copies a session takes: it holds nothing
// a rollback would have to undo. One memo belongs to one model; it must
// always be asked with the same ModelDatabase. Failures are not memoised.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/error.h"
#include "model/model_database.h"
#include "model/records.h"
#include "smart/key_cache.h"

namespace ferrolune::smart {

using UnigramRows = std::vector<model::Unigram>;
using BigramRows = std::vector<model::Bigram>;
using DictionaryValues = std::vector<std::string>;

class ModelRows {
 public:
  // Keys remembered per kind; beyond that the earliest key is forgotten.
  static constexpr std::size_t kCapacity = 8192;

  ModelRows() = default;

  // The rows of `unigrams` for the reading key, in stored order.
  model::ModelResult<std::shared_ptr<const UnigramRows>> unigrams(const model::ModelDatabase& model,
                                                                  std::string_view key);
  // The phonetic dictionary's values for the reading key, in stored order.
  model::ModelResult<std::shared_ptr<const DictionaryValues>> dictionary_values(
      const model::ModelDatabase& model, std::string_view key);
  // The rows of `bigrams` for the pair key, in stored order.
  model::ModelResult<std::shared_ptr<const BigramRows>> bigrams(const model::ModelDatabase& model,
                                                                std::string_view pair_key);

  // The model's largest unigram probability (max_unigram_probability).
  model::ModelResult<double> max_probability(const model::ModelDatabase& model);

  // Number of SQL queries run so far (for tests and measurements).
  std::size_t queries() const noexcept { return queries_; }

 private:
  KeyCache<std::shared_ptr<const UnigramRows>> unigrams_{kCapacity};
  KeyCache<std::shared_ptr<const DictionaryValues>> values_{kCapacity};
  KeyCache<std::shared_ptr<const BigramRows>> bigrams_{kCapacity};
  std::optional<double> max_probability_;
  std::size_t queries_ = 0;
};

}  // namespace ferrolune::smart
