#include "model/model_database.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "support/sqlite_fixture.h"
#include "support/temp_dir.h"

namespace ferrolune::model {
namespace {

using test::kMinimalModelSchema;
using test::TempDir;
using test::write_sqlite;

// The minimal model with the CREATE statement of `table` replaced by
// `replacement` (empty: the table is dropped from the script).
std::string model_with(std::string_view table, std::string_view replacement) {
  std::string script(kMinimalModelSchema);
  const bool quoted = table.find('-') != std::string_view::npos;
  const std::string head = "CREATE TABLE " + std::string(quoted ? "\"" : "") + std::string(table) +
                           (quoted ? "\"" : "") + " (";
  const std::size_t start = script.find(head);
  if (start == std::string::npos) throw std::invalid_argument("no such table in the schema");
  const std::size_t end = script.find('\n', start);
  script.replace(start, end - start, replacement);
  return script;
}

std::string model_without(std::string_view table) { return model_with(table, ""); }

struct OpenCase {
  const char* name;
  // Builds whatever the case needs in `dir` and returns the path to open.
  std::function<std::string(const TempDir& dir)> prepare;
  ModelErrorKind kind;
  std::string detail;
  bool detail_is_prefix = false;
};

std::string model_file(const TempDir& dir, const std::string& script) {
  const auto path = dir.file("model.db");
  write_sqlite(path, script);
  return path.string();
}

const std::vector<OpenCase>& open_cases() {
  static const std::vector<OpenCase> cases = {
      {"missing file", [](const TempDir& dir) { return dir.file("absent.db").string(); },
       ModelErrorKind::OpenFailed, "No such file or directory"},
      {"directory", [](const TempDir& dir) { return dir.path().string(); },
       ModelErrorKind::InvalidInput, "database path must name an existing regular file"},
      {"link to a directory",
       [](const TempDir& dir) {
         std::filesystem::create_directory_symlink(dir.path(), dir.file("dir-link"));
         return dir.file("dir-link").string();
       },
       ModelErrorKind::InvalidInput, "database path must name an existing regular file"},
      {"dangling link",
       [](const TempDir& dir) {
         std::filesystem::create_symlink(dir.file("absent.db"), dir.file("link.db"));
         return dir.file("link.db").string();
       },
       ModelErrorKind::OpenFailed, "No such file or directory"},
      {"NUL in path",
       [](const TempDir& dir) {
         return model_file(dir, std::string(kMinimalModelSchema)) + std::string(1, '\0') + "x";
       },
       ModelErrorKind::InvalidInput, "database path must not contain NUL"},
      {"not a database",
       [](const TempDir& dir) {
         const auto path = dir.file("text.db");
         std::FILE* file = std::fopen(path.c_str(), "w");
         std::fputs("this is plainly not a SQLite file, and it is long enough to have a header\n",
                    file);
         std::fclose(file);
         return path.string();
       },
       ModelErrorKind::InvalidSchema, "file is not a database"},
      {"empty file",
       [](const TempDir& dir) {
         std::fclose(std::fopen(dir.file("empty.db").c_str(), "w"));
         return dir.file("empty.db").string();
       },
       ModelErrorKind::InvalidSchema, "required table unigrams is missing or is not a table"},
      {"bigrams is a view",
       [](const TempDir& dir) {
         return model_file(dir, model_with("bigrams",
                                           "CREATE VIEW bigrams AS SELECT qstring, current AS "
                                           "previous, current, probability FROM unigrams;"));
       },
       ModelErrorKind::InvalidSchema, "required table bigrams is missing or is not a table"},
      {"first missing table in check order",
       [](const TempDir& dir) {
         return model_file(dir, model_with("Mandarin-bpmf-cin", "") + "DROP TABLE \"Generic-cj-cin\";");
       },
       ModelErrorKind::InvalidSchema,
       "required table Mandarin-bpmf-cin is missing or is not a table"},
      {"missing simplex table",
       [](const TempDir& dir) { return model_file(dir, model_without("Generic-simplex-cin")); },
       ModelErrorKind::InvalidSchema,
       "required table Generic-simplex-cin is missing or is not a table"},
      {"missing backoff column",
       [](const TempDir& dir) {
         return model_file(dir, model_with("unigrams",
                                           "CREATE TABLE unigrams (qstring, current, probability);"));
       },
       ModelErrorKind::InvalidSchema, "unigrams: ", true},
      {"column named ROWID",
       [](const TempDir& dir) {
         return model_file(
             dir, model_with("unigrams",
                             "CREATE TABLE unigrams (ROWID, qstring, current, probability, backoff);"));
       },
       ModelErrorKind::InvalidSchema, "unigrams must not shadow SQLite rowid"},
      {"column named Oid",
       [](const TempDir& dir) {
         return model_file(dir, model_with("Generic-cj-cin",
                                           "CREATE TABLE \"Generic-cj-cin\" (key, value, Oid);"));
       },
       ModelErrorKind::InvalidSchema, "Generic-cj-cin must not shadow SQLite rowid"},
      {"column named _RowID_",
       [](const TempDir& dir) {
         return model_file(
             dir, model_with("bigrams",
                             "CREATE TABLE bigrams (qstring, previous, current, probability, _RowID_);"));
       },
       ModelErrorKind::InvalidSchema, "bigrams must not shadow SQLite rowid"},
  };
  return cases;
}

TEST(OpenModelDatabase, RefusesEveryBrokenModelWithItsKindAndDetail) {
  for (const OpenCase& c : open_cases()) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::string path = c.prepare(dir);
    const auto opened = open_model_database(path);
    ASSERT_FALSE(opened.has_value());
    EXPECT_EQ(opened.error().kind, c.kind);
    if (c.detail_is_prefix) {
      EXPECT_EQ(opened.error().detail.substr(0, c.detail.size()), c.detail) << opened.error().detail;
    } else {
      EXPECT_EQ(opened.error().detail, c.detail);
    }
  }
}

TEST(OpenModelDatabase, MissingColumnDetailNamesTableAndColumn) {
  TempDir dir;
  const auto opened = open_model_database(model_file(
      dir, model_with("unigrams", "CREATE TABLE unigrams (qstring, current, probability);")));
  ASSERT_FALSE(opened.has_value());
  EXPECT_EQ(opened.error().message(), "invalid model schema: unigrams: no such column: backoff");
}

TEST(OpenModelDatabase, OpensWhatTheCheckDoesNotRequire) {
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"minimal model", std::string(kMinimalModelSchema)},
      {"no associated phrases", model_without("associated_phrases")},
      {"no collection names", model_without("collection_names")},
      {"no punctuation tables",
       model_without("Punctuations-cj-halfwidth-cin") +
           "DROP TABLE \"Punctuations-cj-mixedwidth-cin\";"},
      {"columns that merely start with rowid",
       model_with("unigrams",
                  "CREATE TABLE unigrams (rowid_note, qstring, current, probability, backoff, "
                  "oidx, _rowid);")},
      {"extra columns and untyped columns",
       model_with("Generic-cj-cin", "CREATE TABLE \"Generic-cj-cin\" (id INTEGER, key, value, extra);")},
  };
  for (const auto& [name, script] : cases) {
    SCOPED_TRACE(name);
    TempDir dir;
    const auto opened = open_model_database(model_file(dir, script));
    EXPECT_TRUE(opened.has_value()) << opened.error().message();
  }
}

TEST(OpenModelDatabase, FollowsSymbolicLinkToTheModel) {
  TempDir dir;
  const std::string target = model_file(dir, std::string(kMinimalModelSchema) +
                                                 "INSERT INTO unigrams VALUES ('ab', 'x', -1, 0);");
  std::filesystem::create_directory(dir.file("links"));
  std::filesystem::create_symlink("../model.db", dir.file("links/model.db"));
  auto opened = open_model_database(dir.file("links/model.db").string());
  ASSERT_TRUE(opened.has_value()) << opened.error().message();
  auto query = prepare_model_query(opened->connection(),
                                   "SELECT current FROM unigrams WHERE qstring = ?1", "ab");
  ASSERT_TRUE(query.has_value());
  ASSERT_EQ(query->step(), SQLITE_ROW);
  EXPECT_EQ(read_model_text(*query, 0, "current"), "x");
}

TEST(OpenModelDatabase, ConnectionCannotWrite) {
  TempDir dir;
  const std::string path = model_file(dir, std::string(kMinimalModelSchema));
  const auto size_before = std::filesystem::file_size(path);
  auto opened = open_model_database(path);
  ASSERT_TRUE(opened.has_value());
  const Connection& connection = opened->connection();
  EXPECT_EQ(sqlite3_db_readonly(connection.get(), "main"), 1);
  // query_only would refuse these even if the file had been opened for
  // writing; both protections are in place.
  EXPECT_NE(connection.exec("INSERT INTO unigrams VALUES ('ab', 'x', -1, 0)"), SQLITE_OK);
  EXPECT_NE(connection.exec("CREATE TABLE extra (a)"), SQLITE_OK);
  EXPECT_NE(connection.exec("PRAGMA user_version = 7"), SQLITE_OK);
  Statement query_only;
  ASSERT_EQ(query_only.prepare(connection, "PRAGMA query_only"), SQLITE_OK);
  ASSERT_EQ(query_only.step(), SQLITE_ROW);
  EXPECT_EQ(query_only.column_int64(0), 1);
  EXPECT_EQ(std::filesystem::file_size(path), size_before);
  EXPECT_FALSE(std::filesystem::exists(path + "-journal"));
}

TEST(CheckModelTable, LazilyCheckedTablesReportTheirOwnProblems) {
  TempDir dir;
  auto opened = open_model_database(model_file(
      dir, model_with("associated_phrases", "CREATE TABLE associated_phrases (headchar, data);") +
               "DROP TABLE collection_names; CREATE VIEW collection_names AS SELECT 1;"));
  ASSERT_TRUE(opened.has_value()) << opened.error().message();
  const auto phrases =
      check_model_table(opened->connection(), "associated_phrases", kAssociatedPhrasesProbe);
  ASSERT_FALSE(phrases.has_value());
  EXPECT_EQ(phrases.error(), (ModelError{ModelErrorKind::InvalidSchema,
                                         "associated_phrases: no such column: source"}));
  const auto names = check_model_table(opened->connection(), "collection_names", kCollectionNamesProbe);
  ASSERT_FALSE(names.has_value());
  EXPECT_EQ(names.error().detail, "required table collection_names is missing or is not a table");
}

// One row per stored value; each is read as text and as a number under the
// label "probability".
struct ReadCase {
  const char* stored;  // SQL expression inserted into the value column
  std::variant<std::string, const char*> text;  // value, or the error detail
  std::variant<double, const char*> number;
};

TEST(ColumnReaders, AcceptOnlyTheirStorageClassAndValidValues) {
  const std::vector<ReadCase> cases = {
      {"'abc'", std::string("abc"), "probability must contain a SQLite number"},
      {"''", std::string(), "probability must contain a SQLite number"},
      {"'1.5'", std::string("1.5"), "probability must contain a SQLite number"},
      {"'\xe4\xb8\xad'", std::string("\xe4\xb8\xad"), "probability must contain a SQLite number"},
      {"0", "probability must contain SQLite TEXT", 0.0},
      {"-3", "probability must contain SQLite TEXT", -3.0},
      {"9007199254740993", "probability must contain SQLite TEXT", 9007199254740992.0},
      {"-2.5", "probability must contain SQLite TEXT", -2.5},
      {"NULL", "probability must contain SQLite TEXT", "probability must contain a SQLite number"},
      {"x'61'", "probability must contain SQLite TEXT", "probability must contain a SQLite number"},
      {"9e999", "probability must contain SQLite TEXT", "probability must contain a finite number"},
      {"-9e999", "probability must contain SQLite TEXT", "probability must contain a finite number"},
      {"CAST(x'ff' AS TEXT)", "probability is not valid UTF-8",
       "probability must contain a SQLite number"},
      {"CAST(x'eda080' AS TEXT)", "probability is not valid UTF-8",
       "probability must contain a SQLite number"},
  };
  TempDir dir;
  std::string script = "CREATE TABLE v (x);";
  for (const ReadCase& c : cases) script += std::string("INSERT INTO v VALUES (") + c.stored + ");";
  write_sqlite(dir.file("values.db"), script);
  std::string error;
  Connection connection =
      Connection::open(dir.file("values.db").string(), SQLITE_OPEN_READONLY, error);
  ASSERT_TRUE(connection) << error;
  Statement rows;
  ASSERT_EQ(rows.prepare(connection, "SELECT x FROM v ORDER BY rowid"), SQLITE_OK);
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.stored);
    ASSERT_EQ(rows.step(), SQLITE_ROW);
    const auto text = read_model_text(rows, 0, "probability");
    if (const auto* expected = std::get_if<std::string>(&c.text)) {
      EXPECT_EQ(text, *expected);
    } else {
      EXPECT_EQ(text, std::unexpected(ModelError{ModelErrorKind::InvalidData, std::get<const char*>(c.text)}));
    }
    const auto number = read_model_number(rows, 0, "probability");
    if (const auto* expected = std::get_if<double>(&c.number)) {
      EXPECT_EQ(number, *expected);
    } else {
      EXPECT_EQ(number, std::unexpected(ModelError{ModelErrorKind::InvalidData, std::get<const char*>(c.number)}));
    }
  }
  EXPECT_EQ(rows.step(), SQLITE_DONE);
}

TEST(ColumnReaders, ColumnOutsideTheRowIsQueryFailed) {
  TempDir dir;
  write_sqlite(dir.file("values.db"), "CREATE TABLE v (x); INSERT INTO v VALUES ('a');");
  std::string error;
  Connection connection = Connection::open(dir.file("values.db").string(), SQLITE_OPEN_READONLY, error);
  Statement rows;
  ASSERT_EQ(rows.prepare(connection, "SELECT x FROM v"), SQLITE_OK);
  ASSERT_EQ(rows.step(), SQLITE_ROW);
  for (const int column : {1, -1}) {
    EXPECT_EQ(read_model_text(rows, column, "value").error().kind, ModelErrorKind::QueryFailed);
    EXPECT_EQ(read_model_number(rows, column, "value").error().kind, ModelErrorKind::QueryFailed);
  }
}

TEST(PrepareModelQuery, FailuresAreQueryFailed) {
  TempDir dir;
  auto opened = open_model_database(model_file(dir, model_without("Punctuations-cj-halfwidth-cin")));
  ASSERT_TRUE(opened.has_value());
  const Connection& connection = opened->connection();
  const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
      {"SELECT key, value FROM \"Punctuations-cj-mixedwidth-cin\" WHERE key = ?1 ORDER BY rowid",
       std::nullopt},
      {"SELECT key, value FROM \"Punctuations-cj-halfwidth-cin\" WHERE key = ?1 ORDER BY rowid",
       "no such table: Punctuations-cj-halfwidth-cin"},
      {"SELEC key FROM unigrams WHERE qstring = ?1", "near \"SELEC\": syntax error"},
      {"SELECT qstring FROM unigrams", "wrong number of parameters: the statement takes 0, 1 was given"},
      {"SELECT qstring FROM unigrams WHERE qstring = ?1 AND current = ?2",
       "wrong number of parameters: the statement takes 2, 1 was given"},
  };
  for (const auto& [sql, detail] : cases) {
    SCOPED_TRACE(sql);
    const auto query = prepare_model_query(connection, sql, "k");
    if (!detail) {
      EXPECT_TRUE(query.has_value()) << query.error().message();
    } else {
      ASSERT_FALSE(query.has_value());
      EXPECT_EQ(query.error(), (ModelError{ModelErrorKind::QueryFailed, *detail}));
    }
  }
}

}  // namespace
}  // namespace ferrolune::model
