// Fuzzes every entry point that takes a text, through the public
// interface: the first byte picks the entry point, the rest is its text.
// No input may crash, leak or trip a sanitizer; every call must return a
// known status, and every failure must leave a message.
#include <sqlite3.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "ferrolune.h"

namespace {

std::string model_path;
ferrolune_database* database = nullptr;
ferrolune_session* session = nullptr;

void check(int32_t status) {
  if (status < FERROLUNE_OK || status > FERROLUNE_INTERNAL_FAULT) std::abort();
  if (status == FERROLUNE_INTERNAL_FAULT) std::abort();  // no input may reach a bug
  if (status != FERROLUNE_OK) {
    uint64_t required = 0;
    ferrolune_last_error(nullptr, 0, &required);
    if (required < 2) std::abort();
  }
}

void keep(ferrolune_result** result) { ferrolune_result_free(result); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char pattern[] = "/tmp/ferrolune-fuzz-XXXXXX";
  const char* dir = mkdtemp(pattern);
  if (!dir) std::abort();
  model_path = std::string(dir) + "/model.db";
  sqlite3* db = nullptr;
  sqlite3_open(model_path.c_str(), &db);
  sqlite3_exec(db,
               "CREATE TABLE unigrams (qstring, current, probability, backoff);"
               "CREATE TABLE bigrams (qstring, previous, current, probability);"
               "CREATE TABLE \"Mandarin-bpmf-cin\" (key, value);"
               "CREATE TABLE \"Generic-cj-cin\" (key, value);"
               "CREATE TABLE \"Generic-simplex-cin\" (key, value);"
               "CREATE TABLE associated_phrases (headchar, data, source);"
               "CREATE TABLE collection_names (source, display, sortorder);"
               "INSERT INTO \"Mandarin-bpmf-cin\" VALUES ('_punctuation_list', '，'), ('_punctuation_list', '。');"
               "INSERT INTO unigrams VALUES ('*', '', -5, -1);"
               "INSERT INTO associated_phrases VALUES ('日', '本', 'a');"
               "INSERT INTO collection_names VALUES ('a', 'A', 1);",
               nullptr, nullptr, nullptr);
  sqlite3_close(db);
  if (ferrolune_database_open(model_path.data(), model_path.size(), &database) != FERROLUNE_OK) std::abort();
  if (ferrolune_session_new(model_path.data(), model_path.size(), nullptr, 0, &session) != FERROLUNE_OK) {
    std::abort();
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const auto* text = reinterpret_cast<const char*>(data + 1);
  const std::uint64_t length = size - 1;
  ferrolune_result* result = nullptr;
  switch (data[0] % 6) {
    case 0: {
      ferrolune_session* created = nullptr;
      check(ferrolune_session_new(model_path.data(), model_path.size(), text, length, &created));
      ferrolune_session_free(&created);
      break;
    }
    case 1: check(ferrolune_session_input(session, text, length, &result)); break;
    case 2: check(ferrolune_validate_user_archive(text, length)); break;
    case 3: check(ferrolune_model_query(database, data[0] % 7u, text, length, &result)); break;
    case 4: check(ferrolune_associated_phrases(database, text, length, &result)); break;
    default: check(ferrolune_associated_collections(database, text, length, &result)); break;
  }
  keep(&result);
  return 0;
}
