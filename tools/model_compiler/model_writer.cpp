#include "model_writer.h"

#include <sqlite3.h>

#include <functional>
#include <system_error>

#include "model/sqlite.h"

namespace ferrolune::model_compiler {
namespace {

using model::Connection;
using model::Statement;

constexpr const char* kSchema = R"sql(
CREATE TABLE unigrams (qstring TEXT NOT NULL, current TEXT NOT NULL, probability REAL NOT NULL, backoff REAL NOT NULL);
CREATE TABLE bigrams (qstring TEXT NOT NULL, previous TEXT NOT NULL, current TEXT NOT NULL, probability REAL NOT NULL);
CREATE TABLE "Mandarin-bpmf-cin" (key TEXT NOT NULL, value TEXT NOT NULL);
CREATE TABLE "Generic-cj-cin" (key TEXT NOT NULL, value TEXT NOT NULL);
CREATE TABLE "Generic-simplex-cin" (key TEXT NOT NULL, value TEXT NOT NULL);
CREATE TABLE associated_phrases (headchar TEXT NOT NULL, data TEXT NOT NULL, source TEXT NOT NULL);
CREATE TABLE collection_names (source TEXT NOT NULL, display TEXT NOT NULL, sortorder INTEGER NOT NULL);
CREATE TABLE "Punctuations-cj-halfwidth-cin" (key TEXT NOT NULL, value TEXT NOT NULL);
CREATE TABLE "Punctuations-cj-mixedwidth-cin" (key TEXT NOT NULL, value TEXT NOT NULL);
CREATE TABLE model_info (name TEXT NOT NULL, value TEXT NOT NULL);
)sql";

constexpr const char* kIndexes = R"sql(
CREATE INDEX unigrams_qstring ON unigrams (qstring);
CREATE INDEX bigrams_qstring ON bigrams (qstring);
CREATE INDEX "Mandarin-bpmf-cin_key" ON "Mandarin-bpmf-cin" (key);
CREATE INDEX "Generic-cj-cin_key" ON "Generic-cj-cin" (key);
CREATE INDEX "Generic-simplex-cin_key" ON "Generic-simplex-cin" (key);
CREATE INDEX associated_phrases_head ON associated_phrases (headchar, source);
CREATE INDEX "Punctuations-cj-halfwidth-cin_key" ON "Punctuations-cj-halfwidth-cin" (key);
CREATE INDEX "Punctuations-cj-mixedwidth-cin_key" ON "Punctuations-cj-mixedwidth-cin" (key);
)sql";

class Writer {
 public:
  explicit Writer(Connection& connection) : connection_(connection) {}

  std::expected<void, std::string> exec(const char* sql) {
    if (connection_.exec(sql) != SQLITE_OK) return failure("");
    return {};
  }

  // Inserts `rows` with `sql`, binding each row through `bind`.
  template <class Row>
  std::expected<void, std::string> insert(const char* sql, const std::vector<Row>& rows,
                                          const std::function<void(Statement&, const Row&)>& bind) {
    Statement statement;
    if (statement.prepare(connection_, sql) != SQLITE_OK) return failure(sql);
    for (const Row& row : rows) {
      bind(statement, row);
      if (statement.step() != SQLITE_DONE || statement.reset() != SQLITE_OK) return failure(sql);
    }
    return {};
  }

 private:
  std::unexpected<std::string> failure(std::string_view what) {
    return std::unexpected("SQLite: " + connection_.error_text() + (what.empty() ? "" : " in ") + std::string(what));
  }
  Connection& connection_;
};

void bind_key_value(Statement& statement, const KeyValueRow& row) {
  statement.bind_text(1, row.key);
  statement.bind_text(2, row.value);
}

std::expected<void, std::string> fill(Connection& connection, const ModelContent& content) {
  Writer writer(connection);
  // The file is written once, by one process, into a name nobody reads
  // yet: no journal and no syncs, which makes the build several times faster.
  for (const char* sql : {"PRAGMA page_size = 4096;", "PRAGMA journal_mode = OFF;", "PRAGMA synchronous = OFF;",
                          "PRAGMA locking_mode = EXCLUSIVE;", kSchema, "BEGIN;"}) {
    if (auto done = writer.exec(sql); !done) return done;
  }
  auto done = writer.insert<UnigramRow>(
      "INSERT INTO unigrams (qstring, current, probability, backoff) VALUES (?1, ?2, ?3, ?4)", content.unigrams,
      [](Statement& statement, const UnigramRow& row) {
        statement.bind_text(1, row.qstring);
        statement.bind_text(2, row.current);
        statement.bind_double(3, row.probability);
        statement.bind_double(4, row.backoff);
      });
  const std::pair<const char*, const std::vector<KeyValueRow>*> key_tables[] = {
      {"INSERT INTO \"Mandarin-bpmf-cin\" (key, value) VALUES (?1, ?2)", &content.phonetic},
      {"INSERT INTO \"Generic-cj-cin\" (key, value) VALUES (?1, ?2)", &content.cangjie},
      {"INSERT INTO \"Generic-simplex-cin\" (key, value) VALUES (?1, ?2)", &content.simplex},
      {"INSERT INTO \"Punctuations-cj-halfwidth-cin\" (key, value) VALUES (?1, ?2)", &content.halfwidth},
      {"INSERT INTO \"Punctuations-cj-mixedwidth-cin\" (key, value) VALUES (?1, ?2)", &content.mixedwidth},
      {"INSERT INTO model_info (name, value) VALUES (?1, ?2)", &content.info},
  };
  for (const auto& [sql, rows] : key_tables) {
    if (!done) return done;
    done = writer.insert<KeyValueRow>(sql, *rows, bind_key_value);
  }
  if (!done) return done;
  done = writer.insert<AssociatedRow>(
      "INSERT INTO associated_phrases (headchar, data, source) VALUES (?1, ?2, ?3)", content.associated,
      [](Statement& statement, const AssociatedRow& row) {
        statement.bind_text(1, row.headchar);
        statement.bind_text(2, row.data);
        statement.bind_text(3, row.source);
      });
  if (!done) return done;
  done = writer.insert<CollectionRow>(
      "INSERT INTO collection_names (source, display, sortorder) VALUES (?1, ?2, ?3)", content.collections,
      [](Statement& statement, const CollectionRow& row) {
        statement.bind_text(1, row.source);
        statement.bind_text(2, row.display);
        statement.bind_int64(3, row.sortorder);
      });
  if (!done) return done;
  done = writer.exec(kIndexes);
  if (!done) return done;
  return writer.exec("COMMIT;");
}

}  // namespace

std::expected<void, std::string> write_model(const std::filesystem::path& path, const ModelContent& content) {
  std::error_code error;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), error);
  std::filesystem::path partial = path;
  partial += ".partial";
  std::filesystem::remove(partial, error);

  std::string open_error;
  Connection connection =
      Connection::open(partial.string(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, open_error);
  if (!connection) return std::unexpected(partial.string() + ": cannot create: " + open_error);
  auto filled = fill(connection, content);
  connection = Connection();
  if (!filled) {
    std::filesystem::remove(partial, error);
    return std::unexpected(partial.string() + ": " + filled.error());
  }
  std::filesystem::rename(partial, path, error);
  if (error) {
    const std::string reason = error.message();
    std::filesystem::remove(partial, error);
    return std::unexpected(path.string() + ": cannot move the finished model into place: " + reason);
  }
  return {};
}

}  // namespace ferrolune::model_compiler
