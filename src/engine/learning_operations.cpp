// The operations that edit user phrases and reset learned data. They only
// queue learning changes; the end of the operation applies and writes them.
#include <algorithm>

#include "bopomofo/reading_codec.h"
#include "engine/input_session.h"
#include "table/dictionary_queries.h"

namespace ferrolune::engine {

namespace {

namespace change = userdata::change;

Result<void> check_phrase_key(std::string_view text, std::string_view qstring) {
  if (auto valid = bopomofo::validate_phrase_key(text, qstring); !valid) return fail(valid.error());
  return {};
}

}  // namespace

Result<bool> InputSession::phrase_exists(std::string_view qstring, std::string_view text) const {
  const auto& phrases = state_.learning->phrases;
  if (std::any_of(phrases.begin(), phrases.end(),
                  [&](const model::Unigram& p) { return p.qstring == qstring && p.current == text; })) {
    return true;
  }
  auto unigrams = table::query_unigrams(resources_.model, qstring);
  if (!unigrams) return std::unexpected(Error(unigrams.error()));
  return std::any_of(unigrams->begin(), unigrams->end(),
                     [&](const model::Unigram& u) { return u.current == text; });
}

Result<model::Unigram> InputSession::new_phrase(std::string qstring, std::string text) const {
  auto maximum = table::max_unigram_probability(resources_.model);
  if (!maximum) return std::unexpected(Error(maximum.error()));
  auto defaults = table::query_unigrams(resources_.model, "*");
  if (!defaults) return std::unexpected(Error(defaults.error()));
  double backoff = 0.0;
  const model::Unigram* best = nullptr;
  for (const model::Unigram& unigram : *defaults) {
    if (!best || unigram.probability > best->probability) best = &unigram;
  }
  if (best) backoff = best->backoff;
  return model::Unigram{std::move(qstring), std::move(text), *maximum, backoff};
}

Result<void> InputSession::add_user_phrase(const op::AddUserPhrase& add) {
  if (auto valid = check_phrase_key(add.text, add.qstring); !valid) return valid;
  auto exists = phrase_exists(add.qstring, add.text);
  if (!exists) return std::unexpected(exists.error());
  if (*exists) return {};
  auto phrase = new_phrase(add.qstring, add.text);
  if (!phrase) return std::unexpected(phrase.error());
  state_.pending_changes.emplace_back(change::PhraseUpsert{std::move(*phrase)});
  clear_candidate_list();
  return {};
}

Result<void> InputSession::update_user_phrase(const op::UpdateUserPhrase& update) {
  const auto& phrases = state_.learning->phrases;
  const bool is_user_phrase = std::any_of(phrases.begin(), phrases.end(), [&](const model::Unigram& p) {
    return p.qstring == update.qstring && p.current == update.text;
  });
  if (!is_user_phrase) return fail("user phrase does not exist");
  if (auto valid = check_phrase_key(update.new_text, update.new_qstring); !valid) return valid;
  if (update.new_qstring == update.qstring && update.new_text == update.text) return {};
  auto exists = phrase_exists(update.new_qstring, update.new_text);
  if (!exists) return std::unexpected(exists.error());
  if (*exists) return fail("replacement phrase already exists");
  auto phrase = new_phrase(update.new_qstring, update.new_text);
  if (!phrase) return std::unexpected(phrase.error());
  state_.pending_changes.emplace_back(change::PhraseDelete{update.qstring, update.text});
  state_.pending_changes.emplace_back(change::PhraseUpsert{std::move(*phrase)});
  clear_candidate_list();
  return {};
}

Result<void> InputSession::replace_user_phrases(const op::ReplaceUserPhrases& replace) {
  userdata::LearningState candidate;
  candidate.phrases = replace.phrases;
  if (auto valid = userdata::validate_learning_state(candidate); !valid) {
    return std::unexpected(Error(valid.error()));
  }
  if (replace.phrases == state_.learning->phrases) return {};
  for (const model::Unigram& phrase : state_.learning->phrases) {
    state_.pending_changes.emplace_back(change::PhraseDelete{phrase.qstring, phrase.current});
  }
  for (const model::Unigram& phrase : replace.phrases) {
    state_.pending_changes.emplace_back(change::PhraseUpsert{phrase});
  }
  clear_candidate_list();
  return {};
}

Result<void> InputSession::reset_method_learning(InputMethod method) {
  switch (method) {
    case InputMethod::Traditional: return fail("Traditional Bopomofo has no learned data");
    case InputMethod::Smart: state_.pending_changes.emplace_back(change::ResetSmartLearning{}); break;
    case InputMethod::Cangjie:
    case InputMethod::Simplex:
      state_.pending_changes.emplace_back(change::ResetTableMethod{method_name(method)});
      break;
  }
  if (method == state_.method) clear_candidate_list();
  return {};
}

Result<void> InputSession::apply_pending_phrase() {
  if (!state_.smart.pending_phrase) return {};
  MarkedPhrase marked = std::move(*state_.smart.pending_phrase);
  state_.smart.pending_phrase.reset();
  auto exists = phrase_exists(marked.qstring, marked.text);
  if (!exists) return std::unexpected(exists.error());
  if (*exists) {
    effects_.phrase_feedback = PhraseFeedback{marked.text, false};
    return {};
  }
  auto phrase = new_phrase(marked.qstring, marked.text);
  if (!phrase) return std::unexpected(phrase.error());
  state_.pending_changes.emplace_back(change::PhraseInsertIfAbsent{std::move(*phrase)});
  effects_.phrase_feedback = PhraseFeedback{marked.text, true};
  return {};
}

}  // namespace ferrolune::engine
