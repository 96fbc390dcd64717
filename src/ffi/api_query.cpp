// ferrolune_model_query, ferrolune_associated_collections and
// ferrolune_associated_phrases: requests answered on a stand-alone model
// handle. The handle's lock is held for the whole request because the
// model connection has no mutex of its own.
#include "ffi/associated_document.h"
#include "ffi/database_handle.h"
#include "ffi/query_document.h"
#include "table/associated_phrases.h"

using namespace ferrolune::ffi;

namespace {

constexpr const char* kPoisoned = "database handle was invalidated by an internal panic";
constexpr std::string_view kSerializePrefix = "could not serialize model rows: ";

Checked<void> check_handle(ferrolune_result** out, const ferrolune_database* database) {
  if (auto cleared = clear_out(out, "result output pointer is null"); !cleared) return cleared;
  if (!database) return invalid_argument("database handle is null");
  return {};
}

}  // namespace

extern "C" {

int32_t ferrolune_model_query(ferrolune_database* database, uint32_t kind, const char* key,
                              uint64_t key_length, ferrolune_result** out) {
  return run_request([&]() -> Checked<void> {
    if (auto checked = check_handle(out, database); !checked) return checked;
    auto text = decode_text_argument(key, key_length, "query key");
    if (!text) return std::unexpected(text.error());
    HandleLock lock(database->state);
    if (lock.poisoned()) return failure(FERROLUNE_INTERNAL_FAULT, kPoisoned);
    const auto query_kind = model_query_kind(kind);
    if (!query_kind) return invalid_argument("unknown query kind");
    auto rows = run_model_query(database->database, *query_kind, *text);
    if (!rows) return unexpected_of(rows.error());
    return store_result(out, write_model_rows(*query_kind, *text, *rows), row_count(*rows),
                        kSerializePrefix);
  });
}

int32_t ferrolune_associated_collections(ferrolune_database* database, const char* request,
                                         uint64_t request_length, ferrolune_result** out) {
  return run_request([&]() -> Checked<void> {
    if (auto checked = check_handle(out, database); !checked) return checked;
    auto text = decode_text_argument(request, request_length, "associated collection request");
    if (!text) return std::unexpected(text.error());
    auto parsed = parse_associated_collections_request(*text);
    if (!parsed) return std::unexpected(std::move(parsed.error()));
    HandleLock lock(database->state);
    if (lock.poisoned()) return failure(FERROLUNE_INTERNAL_FAULT, kPoisoned);
    auto collections = ferrolune::table::query_collections(database->database, parsed->order);
    if (!collections) return unexpected_of(collections.error());
    return store_result(out, write_associated_collections(*collections), collections->size(),
                        kSerializePrefix);
  });
}

int32_t ferrolune_associated_phrases(ferrolune_database* database, const char* request,
                                     uint64_t request_length, ferrolune_result** out) {
  return run_request([&]() -> Checked<void> {
    if (auto checked = check_handle(out, database); !checked) return checked;
    auto text = decode_text_argument(request, request_length, "associated phrase request");
    if (!text) return std::unexpected(text.error());
    auto parsed = parse_associated_phrase_request(*text);
    if (!parsed) return std::unexpected(std::move(parsed.error()));
    HandleLock lock(database->state);
    if (lock.poisoned()) return failure(FERROLUNE_INTERNAL_FAULT, kPoisoned);
    auto phrases = ferrolune::table::query_associated_phrases(
        database->database, parsed->head, parsed->collections, parsed->omit_empty_suffixes);
    if (!phrases) return unexpected_of(phrases.error());
    return store_result(out, write_associated_phrases(parsed->head, *phrases), phrases->size(),
                        kSerializePrefix);
  });
}

}  // extern "C"
