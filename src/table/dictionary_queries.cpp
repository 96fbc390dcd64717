#include "table/dictionary_queries.h"

#include <utility>

namespace ferrolune::table {
namespace {

using model::ModelErrorKind;
using model::ModelResult;
using model::Statement;

std::string_view values_sql(DictionaryTable table) {
  switch (table) {
    case DictionaryTable::Cangjie:
      return kCangjieValuesSql;
    case DictionaryTable::Simplex:
      return kSimplexValuesSql;
    case DictionaryTable::Bopomofo:
      break;
  }
  return kBopomofoValuesSql;
}

std::string_view glob_sql(DictionaryTable table) {
  switch (table) {
    case DictionaryTable::Cangjie:
      return kCangjieGlobSql;
    case DictionaryTable::Simplex:
      return kSimplexGlobSql;
    case DictionaryTable::Bopomofo:
      break;
  }
  return kBopomofoGlobSql;
}

// Runs a one-key query and reads each row with `read_row(statement)`.
template <class Row, class ReadRow>
ModelResult<std::vector<Row>> collect_rows(const model::ModelDatabase& model, std::string_view sql,
                                           std::string_view key, ReadRow&& read_row) {
  if (auto checked = check_query_key(key); !checked) return std::unexpected(checked.error());
  auto statement = model::prepare_model_query(model.connection(), sql, key);
  if (!statement) return std::unexpected(std::move(statement.error()));
  std::vector<Row> rows;
  for (;;) {
    const int rc = statement->step();
    if (rc == SQLITE_DONE) return rows;
    if (rc != SQLITE_ROW) return model::model_query_failure(model.connection());
    auto row = read_row(*statement);
    if (!row) return std::unexpected(std::move(row.error()));
    rows.push_back(std::move(*row));
  }
}

ModelResult<std::string> read_value(const Statement& statement) {
  return model::read_model_text(statement, 0, "value");
}

ModelResult<model::Unigram> read_unigram(const Statement& statement) {
  auto qstring = model::read_model_text(statement, 0, "qstring");
  if (!qstring) return std::unexpected(std::move(qstring.error()));
  auto current = model::read_model_text(statement, 1, "current");
  if (!current) return std::unexpected(std::move(current.error()));
  auto probability = model::read_model_number(statement, 2, "probability");
  if (!probability) return std::unexpected(std::move(probability.error()));
  auto backoff = model::read_model_number(statement, 3, "backoff");
  if (!backoff) return std::unexpected(std::move(backoff.error()));
  return model::Unigram{std::move(*qstring), std::move(*current), *probability, *backoff};
}

ModelResult<model::Bigram> read_bigram(const Statement& statement) {
  auto qstring = model::read_model_text(statement, 0, "qstring");
  if (!qstring) return std::unexpected(std::move(qstring.error()));
  auto previous = model::read_model_text(statement, 1, "previous");
  if (!previous) return std::unexpected(std::move(previous.error()));
  auto current = model::read_model_text(statement, 2, "current");
  if (!current) return std::unexpected(std::move(current.error()));
  auto probability = model::read_model_number(statement, 3, "probability");
  if (!probability) return std::unexpected(std::move(probability.error()));
  return model::Bigram{std::move(*qstring), std::move(*previous), std::move(*current),
                       *probability};
}

}  // namespace

ModelResult<void> check_query_key(std::string_view key) {
  if (key.find('\0') != std::string_view::npos) {
    return model::model_failure(ModelErrorKind::InvalidInput, "query key must not contain NUL");
  }
  return {};
}

ModelResult<std::vector<std::string>> query_values(const model::ModelDatabase& model,
                                                   DictionaryTable table, std::string_view key) {
  return collect_rows<std::string>(model, values_sql(table), key, read_value);
}

ModelResult<std::vector<std::string>> query_values_glob(const model::ModelDatabase& model,
                                                        DictionaryTable table,
                                                        std::string_view pattern) {
  return collect_rows<std::string>(model, glob_sql(table), pattern, read_value);
}

ModelResult<std::vector<std::string>> query_punctuation(const model::ModelDatabase& model,
                                                        PunctuationStyle style,
                                                        std::string_view key) {
  switch (style) {
    case PunctuationStyle::Mixed:
      return collect_rows<std::string>(model, kMixedPunctuationSql, key, read_value);
    case PunctuationStyle::Half:
      return collect_rows<std::string>(model, kHalfPunctuationSql, key, read_value);
    case PunctuationStyle::Original:
      break;
  }
  if (auto checked = check_query_key(key); !checked) return std::unexpected(checked.error());
  return std::vector<std::string>{};
}

ModelResult<std::vector<model::Unigram>> query_unigrams(const model::ModelDatabase& model,
                                                        std::string_view qstring) {
  return collect_rows<model::Unigram>(model, kUnigramsSql, qstring, read_unigram);
}

ModelResult<std::vector<model::Bigram>> query_bigrams(const model::ModelDatabase& model,
                                                      std::string_view qstring) {
  return collect_rows<model::Bigram>(model, kBigramsSql, qstring, read_bigram);
}

ModelResult<double> max_unigram_probability(const model::ModelDatabase& model) {
  const model::Connection& connection = model.connection();
  Statement statement;
  if (statement.prepare(connection, kMaxUnigramProbabilitySql) != SQLITE_OK) {
    return model::model_query_failure(connection);
  }
  double maximum = 0.0;
  const int rc = statement.step();
  if (rc == SQLITE_ROW && statement.column_type(0) != SQLITE_NULL) {
    auto value = model::read_model_number(statement, 0, "maximum unigram probability");
    if (!value) return std::unexpected(std::move(value.error()));
    maximum = *value;
  } else if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
    return model::model_query_failure(connection);
  }
  return maximum == 0.0 ? kEmptyUnigramMaximum : maximum;
}

}  // namespace ferrolune::table
