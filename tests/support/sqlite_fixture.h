// Building small SQLite files for tests from SQL scripts.
//
//   TempDir dir;
//   write_sqlite(dir.file("model.db"), std::string(kMinimalModelSchema) +
//                "INSERT INTO unigrams VALUES ('ab', 'x', -1.0, 0.0);");
//
// write_sqlite creates the file (or adds to an existing one), runs the
// whole script and closes the connection; any SQLite failure throws
// std::runtime_error with SQLite's text, which GoogleTest reports as a
// test failure.
#pragma once

#include <filesystem>
#include <string_view>

namespace ferrolune::test {

void write_sqlite(const std::filesystem::path& path, std::string_view sql_script);

// The nine tables of a model file with the columns the engine reads, and
// no rows. Every table passes the model's schema check; scripts that need
// a broken model start from their own CREATE statements instead.
inline constexpr std::string_view kMinimalModelSchema = R"sql(
CREATE TABLE unigrams (qstring TEXT, current TEXT, probability REAL, backoff REAL);
CREATE TABLE bigrams (qstring TEXT, previous TEXT, current TEXT, probability REAL);
CREATE TABLE "Mandarin-bpmf-cin" (key TEXT, value TEXT);
CREATE TABLE "Generic-cj-cin" (key TEXT, value TEXT);
CREATE TABLE "Generic-simplex-cin" (key TEXT, value TEXT);
CREATE TABLE associated_phrases (headchar TEXT, data TEXT, source TEXT);
CREATE TABLE collection_names (source TEXT, display TEXT, sortorder INTEGER);
CREATE TABLE "Punctuations-cj-halfwidth-cin" (key TEXT, value TEXT);
CREATE TABLE "Punctuations-cj-mixedwidth-cin" (key TEXT, value TEXT);
)sql";

}  // namespace ferrolune::test
