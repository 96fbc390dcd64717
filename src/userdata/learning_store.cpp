#include "userdata/learning_store.h"

#include <cmath>
#include <limits>
#include <string>

#include "base/overloaded.h"
#include "base/utf8.h"
#include "userdata/sql_steps.h"
#include "userdata/user_schema.h"

namespace ferrolune::userdata {

namespace {

using model::Connection;
using model::ModelErrorKind;
using model::ModelResult;
using model::model_failure;
using model::Statement;

using base::Overloaded;

constexpr auto kMaximum = std::numeric_limits<std::int64_t>::max();

constexpr std::string_view kLoadPhrasesSql =
    "SELECT qstring,current,probability,backoff FROM user_unigrams ORDER BY rowid";
constexpr std::string_view kLoadOverridesSql =
    "SELECT qstring,current FROM user_candidate_override_cache ORDER BY rowid";
constexpr std::string_view kLoadBigramsSql =
    "SELECT qstring,previous,current,probability FROM user_bigram_cache ORDER BY rowid";
constexpr std::string_view kLoadTableCountsSql =
    "SELECT method,code,current,count FROM table_learning ORDER BY rowid";

constexpr std::string_view kPhraseUpsertSql =
    "INSERT INTO user_unigrams(qstring,current,probability,backoff) VALUES(?1,?2,?3,?4) "
    "ON CONFLICT(qstring,current) DO UPDATE SET "
    "probability=excluded.probability,backoff=excluded.backoff";
constexpr std::string_view kPhraseInsertIfAbsentSql =
    "INSERT OR IGNORE INTO user_unigrams(qstring,current,probability,backoff) VALUES(?1,?2,?3,?4)";
constexpr std::string_view kPhraseDeleteSql =
    "DELETE FROM user_unigrams WHERE qstring=?1 AND current=?2";
constexpr std::string_view kOverrideDeleteSql =
    "DELETE FROM user_candidate_override_cache WHERE qstring=?1";
constexpr std::string_view kOverrideInsertSql =
    "INSERT INTO user_candidate_override_cache(qstring,current) VALUES(?1,?2)";
constexpr std::string_view kBigramDeleteSql = "DELETE FROM user_bigram_cache WHERE qstring=?1";
constexpr std::string_view kBigramInsertSql =
    "INSERT INTO user_bigram_cache(qstring,previous,current,probability) VALUES(?1,?2,?3,?4)";
constexpr std::string_view kTableCountSql =
    "SELECT count FROM table_learning WHERE method=?1 AND code=?2 AND current=?3";
constexpr std::string_view kTableCountWriteSql =
    "INSERT INTO table_learning(method,code,current,count) VALUES(?1,?2,?3,?4) "
    "ON CONFLICT(method,code,current) DO UPDATE SET count=excluded.count";
constexpr const char* kResetAllSql =
    "DELETE FROM user_candidate_override_cache; DELETE FROM user_bigram_cache; "
    "DELETE FROM table_learning; UPDATE ferrolune_metadata SET generation=generation+1 WHERE id=1;";
constexpr const char* kResetSmartSql =
    "DELETE FROM user_candidate_override_cache; DELETE FROM user_bigram_cache; "
    "UPDATE ferrolune_metadata SET generation=generation+1 WHERE id=1;";
constexpr std::string_view kResetMethodSql = "DELETE FROM table_learning WHERE method=?1";
constexpr std::string_view kRaiseGenerationSql =
    "UPDATE ferrolune_metadata SET generation=generation+1 WHERE id=1";
constexpr std::string_view kRaiseRevisionSql =
    "UPDATE ferrolune_metadata SET revision=revision+1 WHERE id=1";
constexpr std::string_view kPruneOverridesSql =
    "DELETE FROM user_candidate_override_cache WHERE rowid NOT IN "
    "(SELECT rowid FROM user_candidate_override_cache ORDER BY rowid DESC LIMIT ?1)";
constexpr std::string_view kPruneBigramsSql =
    "DELETE FROM user_bigram_cache WHERE rowid NOT IN "
    "(SELECT rowid FROM user_bigram_cache ORDER BY rowid DESC LIMIT ?1)";

std::unexpected<model::ModelError> invalid_data(std::string detail) {
  return model_failure(ModelErrorKind::InvalidData, std::move(detail));
}

ModelResult<void> check_column(const Statement& statement, int column) {
  if (column < 0 || column >= statement.column_count()) {
    return model_failure(ModelErrorKind::QueryFailed, "column index out of range");
  }
  return {};
}

ModelResult<std::string> read_user_text(const Statement& statement, int column) {
  if (auto valid = check_column(statement, column); !valid) return std::unexpected(valid.error());
  if (statement.column_type(column) != SQLITE_TEXT) {
    return invalid_data("user text must be SQLite TEXT");
  }
  const auto text = statement.column_text(column);
  if (!base::is_valid_utf8(text)) return invalid_data("user text is not valid UTF-8");
  return std::string(text);
}

ModelResult<double> read_user_double(const Statement& statement, int column) {
  if (auto valid = check_column(statement, column); !valid) return std::unexpected(valid.error());
  const int type = statement.column_type(column);
  if (type != SQLITE_INTEGER && type != SQLITE_FLOAT) {
    return invalid_data("user probability must be numeric");
  }
  const double value = type == SQLITE_INTEGER ? static_cast<double>(statement.column_int64(column))
                                              : statement.column_double(column);
  if (!std::isfinite(value)) return invalid_data("user probability must be finite");
  return value;
}

ModelResult<std::int64_t> read_user_count(const Statement& statement, int column) {
  if (auto valid = check_column(statement, column); !valid) return std::unexpected(valid.error());
  if (statement.column_type(column) != SQLITE_INTEGER) {
    return invalid_data("user frequency must be SQLite INTEGER");
  }
  return statement.column_int64(column);
}

// Runs `query` and appends one record per row, read by `read_row` and
// passed through `check`.
template <class Record, class ReadRow, class Check>
ModelResult<void> load_rows(const Connection& connection, std::string_view query,
                            std::vector<Record>& records, ReadRow read_row, Check check) {
  auto statement = sql::prepare(connection, query);
  if (!statement) return std::unexpected(statement.error());
  for (;;) {
    auto row = sql::step(*statement, connection);
    if (!row) return std::unexpected(row.error());
    if (!*row) return {};
    auto record = read_row(*statement);
    if (!record) return std::unexpected(record.error());
    if (auto checked = check(*record); !checked) return checked;
    records.push_back(std::move(*record));
  }
}

ModelResult<model::Unigram> read_phrase(const Statement& row) {
  auto qstring = read_user_text(row, 0);
  if (!qstring) return std::unexpected(qstring.error());
  auto current = read_user_text(row, 1);
  if (!current) return std::unexpected(current.error());
  auto probability = read_user_double(row, 2);
  if (!probability) return std::unexpected(probability.error());
  auto backoff = read_user_double(row, 3);
  if (!backoff) return std::unexpected(backoff.error());
  return model::Unigram{std::move(*qstring), std::move(*current), *probability, *backoff};
}

ModelResult<CandidateOverride> read_override(const Statement& row) {
  auto qstring = read_user_text(row, 0);
  if (!qstring) return std::unexpected(qstring.error());
  auto current = read_user_text(row, 1);
  if (!current) return std::unexpected(current.error());
  return CandidateOverride{std::move(*qstring), std::move(*current)};
}

ModelResult<model::Bigram> read_bigram(const Statement& row) {
  auto qstring = read_user_text(row, 0);
  if (!qstring) return std::unexpected(qstring.error());
  auto previous = read_user_text(row, 1);
  if (!previous) return std::unexpected(previous.error());
  auto current = read_user_text(row, 2);
  if (!current) return std::unexpected(current.error());
  auto probability = read_user_double(row, 3);
  if (!probability) return std::unexpected(probability.error());
  return model::Bigram{std::move(*qstring), std::move(*previous), std::move(*current),
                       *probability};
}

ModelResult<TableLearning> read_table_count(const Statement& row) {
  auto method = read_user_text(row, 0);
  if (!method) return std::unexpected(method.error());
  auto code = read_user_text(row, 1);
  if (!code) return std::unexpected(code.error());
  auto current = read_user_text(row, 2);
  if (!current) return std::unexpected(current.error());
  auto count = read_user_count(row, 3);
  if (!count) return std::unexpected(count.error());
  return TableLearning{std::move(*method), std::move(*code), std::move(*current), *count};
}

ModelResult<void> write_table_count(const Connection& connection, std::string_view method,
                                    std::string_view code, std::string_view current,
                                    std::int64_t count) {
  return sql::run(connection, kTableCountWriteSql, method, code, current, count);
}

ModelResult<void> increment_table_count(const Connection& connection,
                                        const change::TableCountIncrement& c) {
  auto statement = sql::prepare(connection, kTableCountSql, c.method, c.code, c.current);
  if (!statement) return std::unexpected(statement.error());
  auto row = sql::step(*statement, connection);
  if (!row) return std::unexpected(row.error());
  std::int64_t count = 0;
  if (*row) {
    auto stored = read_user_count(*statement, 0);
    if (!stored) return std::unexpected(stored.error());
    count = *stored;
  }
  if (count == kMaximum) return invalid_data("table frequency overflow");
  return write_table_count(connection, c.method, c.code, c.current, count + 1);
}

ModelResult<void> write_change(const Connection& connection, const LearningChange& change) {
  return std::visit(
      Overloaded{
          [&](const change::PhraseUpsert& c) {
            return sql::run(connection, kPhraseUpsertSql, c.phrase.qstring, c.phrase.current,
                            c.phrase.probability, c.phrase.backoff);
          },
          [&](const change::PhraseInsertIfAbsent& c) {
            return sql::run(connection, kPhraseInsertIfAbsentSql, c.phrase.qstring,
                            c.phrase.current, c.phrase.probability, c.phrase.backoff);
          },
          [&](const change::PhraseDelete& c) {
            return sql::run(connection, kPhraseDeleteSql, c.qstring, c.current);
          },
          [&](const change::OverrideSet& c) -> ModelResult<void> {
            if (auto removed = sql::run(connection, kOverrideDeleteSql, c.qstring); !removed) {
              return removed;
            }
            if (!c.current) return {};
            return sql::run(connection, kOverrideInsertSql, c.qstring, *c.current);
          },
          [&](const change::BigramSet& c) -> ModelResult<void> {
            if (auto removed = sql::run(connection, kBigramDeleteSql, c.bigram.qstring); !removed) {
              return removed;
            }
            return sql::run(connection, kBigramInsertSql, c.bigram.qstring, c.bigram.previous,
                            c.bigram.current, c.bigram.probability);
          },
          [&](const change::TableCountIncrement& c) { return increment_table_count(connection, c); },
          [&](const change::TableCountSet& c) {
            return write_table_count(connection, c.method, c.code, c.current, c.count);
          },
          [&](const change::ResetAllLearning&) { return sql::execute(connection, kResetAllSql); },
          [&](const change::ResetSmartLearning&) {
            return sql::execute(connection, kResetSmartSql);
          },
          [&](const change::ResetTableMethod& c) -> ModelResult<void> {
            if (auto removed = sql::run(connection, kResetMethodSql, c.method); !removed) {
              return removed;
            }
            return sql::run(connection, kRaiseGenerationSql);
          },
      },
      change);
}

// The counters must not leave the 64-bit range: SQLite would turn an
// overflowing sum into a REAL that no later load could read.
ModelResult<void> check_counter_room(const UserMetadata& stored,
                                     std::span<const LearningChange> changes) {
  std::int64_t resets = 0;
  for (const auto& change : changes) resets += is_reset_change(change) ? 1 : 0;
  if (stored.generation > kMaximum - resets) return invalid_data("learning generation overflow");
  if (stored.revision == kMaximum) return invalid_data("user revision overflow");
  return {};
}

}  // namespace

ModelResult<LearningState> load_learning(const Connection& connection) {
  auto metadata = read_user_metadata(connection);
  if (!metadata) return std::unexpected(metadata.error());
  LearningState state;
  state.generation = metadata->generation;
  state.revision = metadata->revision;
  if (auto loaded = load_rows(connection, kLoadPhrasesSql, state.phrases, read_phrase, check_phrase);
      !loaded) {
    return std::unexpected(loaded.error());
  }
  if (auto loaded =
          load_rows(connection, kLoadOverridesSql, state.overrides, read_override, check_override);
      !loaded) {
    return std::unexpected(loaded.error());
  }
  if (auto loaded = load_rows(connection, kLoadBigramsSql, state.bigrams, read_bigram, check_bigram);
      !loaded) {
    return std::unexpected(loaded.error());
  }
  if (auto loaded = load_rows(connection, kLoadTableCountsSql, state.table_counts, read_table_count,
                              check_table_learning);
      !loaded) {
    return std::unexpected(loaded.error());
  }
  if (auto valid = validate_learning_state(state); !valid) return std::unexpected(valid.error());
  return state;
}

ModelResult<LearningState> refresh_learning(const Connection& connection) {
  model::Transaction transaction;
  if (transaction.begin(connection, "BEGIN DEFERRED") != SQLITE_OK) {
    return sql::query_failed(connection);
  }
  auto state = load_learning(connection);
  if (!state) return state;
  if (transaction.commit() != SQLITE_OK) return sql::query_failed(connection);
  return state;
}

ModelResult<void> prune_learning_caches(const Connection& connection) {
  const auto capacity = static_cast<std::int64_t>(kCacheCapacity);
  if (auto pruned = sql::run(connection, kPruneOverridesSql, capacity); !pruned) return pruned;
  return sql::run(connection, kPruneBigramsSql, capacity);
}

ModelResult<WriteOutcome> write_learning_changes(const Connection& connection,
                                                 std::int64_t generation,
                                                 std::span<const LearningChange> changes) {
  if (generation < 0) {
    return model_failure(ModelErrorKind::InvalidInput, "negative learning generation");
  }
  for (const auto& change : changes) {
    if (auto checked = check_learning_change(change); !checked) {
      return std::unexpected(checked.error());
    }
  }

  // Rolled back by the guard on every early return.
  model::Transaction transaction;
  if (transaction.begin(connection, "BEGIN IMMEDIATE") != SQLITE_OK) {
    return sql::query_failed(connection);
  }
  auto stored = read_user_metadata(connection);
  if (!stored) return std::unexpected(stored.error());
  WriteStatus status = WriteStatus::Applied;
  if (stored->generation != generation) {
    status = WriteStatus::GenerationChanged;
  } else {
    if (auto room = check_counter_room(*stored, changes); !room) return std::unexpected(room.error());
    for (const auto& change : changes) {
      if (auto written = write_change(connection, change); !written) {
        return std::unexpected(written.error());
      }
    }
    if (auto raised = sql::run(connection, kRaiseRevisionSql); !raised) {
      return std::unexpected(raised.error());
    }
    if (auto pruned = prune_learning_caches(connection); !pruned) {
      return std::unexpected(pruned.error());
    }
  }
  auto state = load_learning(connection);
  if (!state) return std::unexpected(state.error());
  if (transaction.commit() != SQLITE_OK) return sql::query_failed(connection);
  return WriteOutcome{status, std::move(*state)};
}

}  // namespace ferrolune::userdata
