#include "userdata/learning_state.h"

#include <cmath>
#include <string>
#include <unordered_set>

namespace ferrolune::userdata {

namespace {

using model::ModelErrorKind;
using model::ModelResult;
using model::model_failure;

std::unexpected<model::ModelError> invalid_input(std::string detail) {
  return model_failure(ModelErrorKind::InvalidInput, std::move(detail));
}

ModelResult<void> check_no_nul(std::string_view text, std::string_view label) {
  if (text.find('\0') != std::string_view::npos) {
    return invalid_input(std::string(label) + " must be nonempty and contain no NUL");
  }
  return {};
}

// Checked texts hold no NUL, so joining with NUL gives a unique key.
std::string joined_key(std::initializer_list<std::string_view> parts) {
  std::string key;
  for (const auto part : parts) {
    key.append(part);
    key.push_back('\0');
  }
  return key;
}

template <class Record, class Check, class Key>
ModelResult<void> check_list(const std::vector<Record>& records, Check check, Key key,
                             const char* duplicate) {
  std::unordered_set<std::string> seen;
  seen.reserve(records.size());
  for (const auto& record : records) {
    if (auto checked = check(record); !checked) return checked;
    if (!seen.insert(key(record)).second) {
      return model_failure(ModelErrorKind::InvalidData, duplicate);
    }
  }
  return {};
}

}  // namespace

ModelResult<void> check_learning_text(std::string_view text, std::string_view label) {
  if (text.empty()) return invalid_input(std::string(label) + " must be nonempty and contain no NUL");
  return check_no_nul(text, label);
}

ModelResult<void> check_phrase(const model::Unigram& phrase) {
  if (auto checked = check_learning_text(phrase.qstring, "phrase query"); !checked) return checked;
  if (auto checked = check_learning_text(phrase.current, "phrase text"); !checked) return checked;
  if (!std::isfinite(phrase.probability) || !std::isfinite(phrase.backoff)) {
    return invalid_input("phrase scores must be finite");
  }
  return {};
}

ModelResult<void> check_override(const CandidateOverride& entry) {
  if (auto checked = check_learning_text(entry.qstring, "override query"); !checked) return checked;
  return check_learning_text(entry.current, "override text");
}

ModelResult<void> check_bigram(const model::Bigram& bigram) {
  if (auto checked = check_learning_text(bigram.qstring, "bigram query"); !checked) return checked;
  // An empty `previous` stands for the start of the composition.
  if (auto checked = check_no_nul(bigram.previous, "bigram previous"); !checked) return checked;
  if (auto checked = check_learning_text(bigram.current, "bigram current"); !checked) return checked;
  if (!std::isfinite(bigram.probability)) return invalid_input("bigram score must be finite");
  return {};
}

ModelResult<void> check_table_method(std::string_view method) {
  if (method != "cangjie" && method != "simplex" && method != "traditional") {
    return invalid_input("invalid table learning method");
  }
  return {};
}

ModelResult<void> check_table_learning(const TableLearning& entry) {
  if (auto checked = check_table_method(entry.method); !checked) return checked;
  if (auto checked = check_learning_text(entry.code, "table query"); !checked) return checked;
  if (auto checked = check_learning_text(entry.current, "table text"); !checked) return checked;
  if (entry.count < 1) return invalid_input("table frequency must be positive");
  return {};
}

ModelResult<void> validate_learning_state(const LearningState& state) {
  if (state.generation < 0 || state.revision < 0) {
    return model_failure(ModelErrorKind::InvalidData, "invalid user metadata");
  }
  if (state.overrides.size() > kCacheCapacity || state.bigrams.size() > kCacheCapacity) {
    return model_failure(ModelErrorKind::InvalidData, "user learning cache exceeds capacity");
  }
  if (auto checked = check_list(
          state.phrases, check_phrase,
          [](const model::Unigram& p) { return joined_key({p.qstring, p.current}); },
          "duplicate custom phrase");
      !checked) {
    return checked;
  }
  if (auto checked = check_list(
          state.overrides, check_override,
          [](const CandidateOverride& o) { return o.qstring; }, "duplicate override key");
      !checked) {
    return checked;
  }
  if (auto checked = check_list(
          state.bigrams, check_bigram, [](const model::Bigram& b) { return b.qstring; },
          "duplicate Bigram key");
      !checked) {
    return checked;
  }
  return check_list(
      state.table_counts, check_table_learning,
      [](const TableLearning& t) { return joined_key({t.method, t.code, t.current}); },
      "duplicate table frequency");
}

}  // namespace ferrolune::userdata
