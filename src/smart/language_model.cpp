#include "smart/language_model.h"

#include <algorithm>
#include <utility>

namespace ferrolune::smart {

namespace {

constexpr std::string_view kDefaultsKey = "*";

void sort_best_first(std::vector<model::Unigram>& rows) {
  std::stable_sort(rows.begin(), rows.end(),
                   [](const auto& a, const auto& b) { return a.probability > b.probability; });
}

// The text of a pass-through key "_passthru_" T " ": T must be non-empty
// with no blank except possibly its first character; "space" stands for a
// blank.
std::optional<std::string> passthrough_text(std::string_view key) {
  if (!key.starts_with(kPassthroughPrefix) || !key.ends_with(' ')) return std::nullopt;
  std::string_view text = key.substr(kPassthroughPrefix.size());
  if (text.size() < 2) return std::nullopt;
  text.remove_suffix(1);
  if (text.substr(1).find(' ') != std::string_view::npos) return std::nullopt;
  if (text == "space") return std::string(" ");
  return std::string(text);
}

}  // namespace

LearningSwitches learning_switches(const LearningOptions& options) noexcept {
  return {options.user_phrases, options.candidate_overrides, options.bigrams};
}

LanguageModel::LanguageModel(std::shared_ptr<const table::CandidateFilter> filter)
    : filter_(filter ? std::move(filter) : table::CandidateFilter::accept_all()),
      rows_(std::make_shared<ModelRows>()),
      caches_(std::make_shared<ListCaches>()),
      phrases_source_(std::make_shared<const userdata::LearningState>()),
      phrases_(std::make_shared<const std::unordered_map<std::string, UnigramRows, TextHash,
                                                         std::equal_to<>>>()),
      smart_learning_(std::make_shared<const userdata::SmartLearning>()) {}

bool LanguageModel::same_learning(const userdata::LearningState& learning,
                                  LearningSwitches switches) const {
  if (switches != switches_) return false;
  if (&learning != phrases_source_.get() && learning.phrases != phrases_source_->phrases) {
    return false;
  }
  return learning.overrides == smart_learning_->overrides &&
         learning.bigrams == smart_learning_->bigrams;
}

void LanguageModel::install(std::shared_ptr<const userdata::LearningState> learning,
                            LearningSwitches switches) {
  if (!learning) learning = std::make_shared<const userdata::LearningState>();
  if (learning->phrases != phrases_source_->phrases) {
    auto index = std::make_shared<
        std::unordered_map<std::string, UnigramRows, TextHash, std::equal_to<>>>();
    for (const auto& phrase : learning->phrases) (*index)[phrase.qstring].push_back(phrase);
    phrases_ = std::move(index);
  }
  smart_learning_ = std::make_shared<const userdata::SmartLearning>(
      userdata::SmartLearning{learning->overrides, learning->bigrams});
  phrases_source_ = std::move(learning);
  switches_ = switches;
  caches_ = std::make_shared<ListCaches>();
  first_use_done_ = false;
}

model::ModelResult<void> LanguageModel::first_use(const model::ModelDatabase& model) {
  if (switches_.bigrams) {
    auto maximum = rows_->max_probability(model);
    if (!maximum) return std::unexpected(std::move(maximum.error()));
    max_probability_ = *maximum;
  }
  auto stars = rows_->unigrams(model, kDefaultsKey);
  if (!stars) return std::unexpected(std::move(stars.error()));
  std::vector<model::Unigram> rows = **stars;
  sort_best_first(rows);
  if (!rows.empty()) defaults_ = {rows.front().probability, rows.front().backoff};
  std::erase_if(rows, [&](const auto& row) { return !accepts(row.current); });
  caches_->words.insert(kDefaultsKey, std::make_shared<const WordList>(std::move(rows)));
  first_use_done_ = true;
  return {};
}

model::ModelResult<std::shared_ptr<const WordList>> LanguageModel::word_list(
    const model::ModelDatabase& model, std::string_view key) {
  if (!first_use_done_) {
    if (auto done = first_use(model); !done) return std::unexpected(std::move(done.error()));
  }
  if (const auto* hit = caches_->words.find(key)) return *hit;

  auto stored = rows_->unigrams(model, key);
  if (!stored) return std::unexpected(std::move(stored.error()));
  std::vector<model::Unigram> rows = **stored;
  if (switches_.user_phrases) {
    if (auto phrases = phrases_->find(key); phrases != phrases_->end()) {
      for (const auto& phrase : phrases->second) {
        if (std::find(rows.begin(), rows.end(), phrase) == rows.end()) rows.push_back(phrase);
      }
    }
  }
  std::erase_if(rows, [&](const auto& row) { return !accepts(row.current); });
  sort_best_first(rows);

  auto values = rows_->dictionary_values(model, key);
  if (!values) return std::unexpected(std::move(values.error()));
  for (const auto& value : **values) {
    if (!filter_->accepts(value)) continue;
    const bool listed = std::any_of(rows.begin(), rows.end(),
                                    [&](const auto& row) { return row.current == value; });
    if (!listed) {
      rows.push_back(model::Unigram{std::string(key), value, defaults_.word_score, defaults_.backoff});
    }
  }
  if (rows.empty()) {
    if (auto text = passthrough_text(key)) {
      rows.push_back(model::Unigram{std::string(key), std::move(*text), defaults_.word_score,
                                    defaults_.backoff});
    }
  }
  auto list = std::make_shared<const WordList>(std::move(rows));
  caches_->words.insert(key, list);
  return list;
}

model::ModelResult<std::shared_ptr<const PairTable>> LanguageModel::pair_list(
    const model::ModelDatabase& model, std::string_view pair_key) {
  if (switches_.bigrams) {
    const auto& learned = smart_learning_->bigrams;
    for (auto it = learned.rbegin(); it != learned.rend(); ++it) {
      if (it->qstring == pair_key && accepts(it->current)) {
        return std::make_shared<const PairTable>(std::span<const model::Bigram>(&*it, 1));
      }
    }
  }
  if (const auto* hit = caches_->pairs.find(pair_key)) return *hit;
  auto stored = rows_->bigrams(model, pair_key);
  if (!stored) return std::unexpected(std::move(stored.error()));
  std::vector<model::Bigram> rows = **stored;
  std::erase_if(rows, [&](const auto& row) { return !accepts(row.current); });
  std::stable_sort(rows.begin(), rows.end(),
                   [](const auto& a, const auto& b) { return a.probability > b.probability; });
  auto table = std::make_shared<const PairTable>(rows);
  caches_->pairs.insert(pair_key, table);
  return table;
}

void LanguageModel::apply_override(std::string_view key, std::shared_ptr<const WordList>& words,
                                   std::shared_ptr<const PairTable>& pairs) const {
  if (!switches_.candidate_overrides || !words) return;
  const auto& overrides = smart_learning_->overrides;
  auto newest = std::find_if(overrides.rbegin(), overrides.rend(), [&](const auto& entry) {
    return entry.qstring == key && !entry.current.empty() && filter_->accepts(entry.current);
  });
  if (newest == overrides.rend()) return;
  const std::string& word = newest->current;
  auto found = std::find_if(words->rows.begin(), words->rows.end(),
                            [&](const auto& row) { return row.current == word; });
  if (found == words->rows.end()) return;
  if (found != words->rows.begin()) {
    auto moved = std::make_shared<WordList>(*words);
    auto position = moved->rows.begin() + (found - words->rows.begin());
    std::rotate(moved->rows.begin(), position, position + 1);
    words = std::move(moved);
  }
  if (pairs) {
    if (const auto* start = pairs->find(std::string_view()); start != nullptr && !start->empty()) {
      auto changed = std::make_shared<PairTable>(*pairs);
      auto* entry = changed->find(std::string_view());
      entry->insert(entry->begin(), PairWord{word, entry->front().probability});
      pairs = std::move(changed);
    }
  }
}

bool LanguageModel::remove_override(std::string_view key) {
  const auto& overrides = smart_learning_->overrides;
  if (std::none_of(overrides.begin(), overrides.end(),
                   [&](const auto& entry) { return entry.qstring == key; })) {
    return false;
  }
  auto changed = std::make_shared<userdata::SmartLearning>(*smart_learning_);
  std::erase_if(changed->overrides, [&](const auto& entry) { return entry.qstring == key; });
  smart_learning_ = std::move(changed);
  return true;
}

void LanguageModel::set_override(std::string key, std::string text) {
  auto changed = std::make_shared<userdata::SmartLearning>(*smart_learning_);
  auto& overrides = changed->overrides;
  std::erase_if(overrides, [&](const auto& entry) { return entry.qstring == key; });
  overrides.push_back(userdata::CandidateOverride{std::move(key), std::move(text)});
  if (overrides.size() > userdata::kCacheCapacity) {
    overrides.erase(overrides.begin(),
                    overrides.end() - static_cast<std::ptrdiff_t>(userdata::kCacheCapacity));
  }
  smart_learning_ = std::move(changed);
}

void LanguageModel::set_learned_bigram(model::Bigram bigram) {
  auto changed = std::make_shared<userdata::SmartLearning>(*smart_learning_);
  auto& bigrams = changed->bigrams;
  std::erase_if(bigrams, [&](const auto& entry) { return entry.qstring == bigram.qstring; });
  bigrams.push_back(std::move(bigram));
  if (bigrams.size() > userdata::kCacheCapacity) {
    bigrams.erase(bigrams.begin(),
                  bigrams.end() - static_cast<std::ptrdiff_t>(userdata::kCacheCapacity));
  }
  smart_learning_ = std::move(changed);
}

}  // namespace ferrolune::smart
