#include "userdata/archive_import.h"

namespace ferrolune::userdata {

model::ModelResult<void> validate_user_archive(const UserArchive& archive) {
  if (archive.schema_version != 1) {
    return model::model_failure(model::ModelErrorKind::InvalidInput,
                                "unsupported user archive schema version");
  }
  LearningState state;
  state.phrases = archive.phrases;
  if (archive.smart) {
    state.overrides = archive.smart->overrides;
    state.bigrams = archive.smart->bigrams;
  }
  if (archive.table) state.table_counts = *archive.table;
  return validate_learning_state(state);
}

model::ModelResult<std::vector<LearningChange>> archive_to_changes(const UserArchive& archive) {
  if (auto valid = validate_user_archive(archive); !valid) return std::unexpected(valid.error());
  std::vector<LearningChange> changes;
  if (archive.smart && archive.table) {
    changes.emplace_back(change::ResetAllLearning{});
  } else if (archive.smart) {
    changes.emplace_back(change::ResetSmartLearning{});
  } else if (archive.table) {
    for (const char* method : {"traditional", "cangjie", "simplex"}) {
      changes.emplace_back(change::ResetTableMethod{method});
    }
  }
  for (const model::Unigram& phrase : archive.phrases) {
    changes.emplace_back(change::PhraseInsertIfAbsent{phrase});
  }
  if (archive.smart) {
    for (const CandidateOverride& entry : archive.smart->overrides) {
      changes.emplace_back(change::OverrideSet{entry.qstring, entry.current});
    }
    for (const model::Bigram& bigram : archive.smart->bigrams) {
      changes.emplace_back(change::BigramSet{bigram});
    }
  }
  if (archive.table) {
    for (const TableLearning& entry : *archive.table) {
      changes.emplace_back(change::TableCountSet{entry.method, entry.code, entry.current, entry.count});
    }
  }
  return changes;
}

}  // namespace ferrolune::userdata
