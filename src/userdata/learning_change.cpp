#include "userdata/learning_change.h"

#include <algorithm>
#include <limits>

#include "base/overloaded.h"

namespace ferrolune::userdata {

namespace {

using model::ModelErrorKind;
using model::ModelResult;
using model::model_failure;

using base::Overloaded;

constexpr auto kMaximum = std::numeric_limits<std::int64_t>::max();

ModelResult<void> check_triple(std::string_view method, std::string_view code,
                               std::string_view current) {
  if (auto checked = check_table_method(method); !checked) return checked;
  if (auto checked = check_learning_text(code, "table query"); !checked) return checked;
  return check_learning_text(current, "table text");
}

model::Unigram* find_phrase(LearningState& state, std::string_view qstring,
                            std::string_view current) {
  const auto found = std::ranges::find_if(state.phrases, [&](const model::Unigram& phrase) {
    return phrase.qstring == qstring && phrase.current == current;
  });
  return found == state.phrases.end() ? nullptr : &*found;
}

TableLearning* find_count(LearningState& state, std::string_view method, std::string_view code,
                          std::string_view current) {
  const auto found = std::ranges::find_if(state.table_counts, [&](const TableLearning& entry) {
    return entry.method == method && entry.code == code && entry.current == current;
  });
  return found == state.table_counts.end() ? nullptr : &*found;
}

ModelResult<void> raise_generation(LearningState& state) {
  if (state.generation == kMaximum) {
    return model_failure(ModelErrorKind::InvalidData, "learning generation overflow");
  }
  ++state.generation;
  return {};
}

template <class Record>
void trim_to_capacity(std::vector<Record>& cache) {
  if (cache.size() > kCacheCapacity) {
    cache.erase(cache.begin(), cache.end() - static_cast<std::ptrdiff_t>(kCacheCapacity));
  }
}

ModelResult<void> apply_one(LearningState& state, const LearningChange& change) {
  return std::visit(
      Overloaded{
          [&](const change::PhraseUpsert& c) -> ModelResult<void> {
            if (auto* stored = find_phrase(state, c.phrase.qstring, c.phrase.current)) {
              stored->probability = c.phrase.probability;
              stored->backoff = c.phrase.backoff;
            } else {
              state.phrases.push_back(c.phrase);
            }
            return {};
          },
          [&](const change::PhraseInsertIfAbsent& c) -> ModelResult<void> {
            if (!find_phrase(state, c.phrase.qstring, c.phrase.current)) {
              state.phrases.push_back(c.phrase);
            }
            return {};
          },
          [&](const change::PhraseDelete& c) -> ModelResult<void> {
            std::erase_if(state.phrases, [&](const model::Unigram& phrase) {
              return phrase.qstring == c.qstring && phrase.current == c.current;
            });
            return {};
          },
          [&](const change::OverrideSet& c) -> ModelResult<void> {
            std::erase_if(state.overrides,
                        [&](const CandidateOverride& entry) { return entry.qstring == c.qstring; });
            if (c.current) state.overrides.push_back({c.qstring, *c.current});
            return {};
          },
          [&](const change::BigramSet& c) -> ModelResult<void> {
            std::erase_if(state.bigrams, [&](const model::Bigram& entry) {
              return entry.qstring == c.bigram.qstring;
            });
            state.bigrams.push_back(c.bigram);
            return {};
          },
          [&](const change::TableCountIncrement& c) -> ModelResult<void> {
            if (auto* stored = find_count(state, c.method, c.code, c.current)) {
              if (stored->count == kMaximum) {
                return model_failure(ModelErrorKind::InvalidData, "table frequency overflow");
              }
              ++stored->count;
            } else {
              state.table_counts.push_back({c.method, c.code, c.current, 1});
            }
            return {};
          },
          [&](const change::TableCountSet& c) -> ModelResult<void> {
            if (auto* stored = find_count(state, c.method, c.code, c.current)) {
              stored->count = c.count;
            } else {
              state.table_counts.push_back({c.method, c.code, c.current, c.count});
            }
            return {};
          },
          [&](const change::ResetAllLearning&) -> ModelResult<void> {
            state.overrides.clear();
            state.bigrams.clear();
            state.table_counts.clear();
            return raise_generation(state);
          },
          [&](const change::ResetSmartLearning&) -> ModelResult<void> {
            state.overrides.clear();
            state.bigrams.clear();
            return raise_generation(state);
          },
          [&](const change::ResetTableMethod& c) -> ModelResult<void> {
            std::erase_if(state.table_counts,
                        [&](const TableLearning& entry) { return entry.method == c.method; });
            return raise_generation(state);
          },
      },
      change);
}

}  // namespace

bool is_cache_change(const LearningChange& change) noexcept {
  return std::holds_alternative<change::OverrideSet>(change) ||
         std::holds_alternative<change::BigramSet>(change) ||
         std::holds_alternative<change::TableCountIncrement>(change);
}

bool is_reset_change(const LearningChange& change) noexcept {
  return std::holds_alternative<change::ResetAllLearning>(change) ||
         std::holds_alternative<change::ResetSmartLearning>(change) ||
         std::holds_alternative<change::ResetTableMethod>(change);
}

ModelResult<void> check_learning_change(const LearningChange& change) {
  return std::visit(
      Overloaded{
          [](const change::PhraseUpsert& c) { return check_phrase(c.phrase); },
          [](const change::PhraseInsertIfAbsent& c) { return check_phrase(c.phrase); },
          [](const change::PhraseDelete& c) -> ModelResult<void> {
            if (auto checked = check_learning_text(c.qstring, "phrase query"); !checked) {
              return checked;
            }
            return check_learning_text(c.current, "phrase text");
          },
          [](const change::OverrideSet& c) -> ModelResult<void> {
            if (auto checked = check_learning_text(c.qstring, "override query"); !checked) {
              return checked;
            }
            if (c.current) return check_learning_text(*c.current, "override text");
            return {};
          },
          [](const change::BigramSet& c) { return check_bigram(c.bigram); },
          [](const change::TableCountIncrement& c) {
            return check_triple(c.method, c.code, c.current);
          },
          [](const change::TableCountSet& c) {
            return check_table_learning({c.method, c.code, c.current, c.count});
          },
          [](const change::ResetAllLearning&) -> ModelResult<void> { return {}; },
          [](const change::ResetSmartLearning&) -> ModelResult<void> { return {}; },
          [](const change::ResetTableMethod& c) { return check_table_method(c.method); },
      },
      change);
}

ModelResult<LearningState> apply_learning_changes(const LearningState& state,
                                                  std::span<const LearningChange> changes) {
  if (auto valid = validate_learning_state(state); !valid) return std::unexpected(valid.error());
  LearningState next = state;
  for (const auto& change : changes) {
    if (auto checked = check_learning_change(change); !checked) {
      return std::unexpected(checked.error());
    }
    if (auto applied = apply_one(next, change); !applied) return std::unexpected(applied.error());
  }
  trim_to_capacity(next.overrides);
  trim_to_capacity(next.bigrams);
  if (!changes.empty()) {
    if (next.revision == kMaximum) {
      return model_failure(ModelErrorKind::InvalidData, "user revision overflow");
    }
    ++next.revision;
  }
  if (auto valid = validate_learning_state(next); !valid) return std::unexpected(valid.error());
  return next;
}

}  // namespace ferrolune::userdata
