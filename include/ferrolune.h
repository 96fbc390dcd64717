/*
 * ferrolune.h: the Ferrolune engine's C interface.
 *
 * The engine is reached only through the functions below. Everything that
 * crosses this interface is plain data:
 *
 *   - opaque handles (ferrolune_session, ferrolune_database,
 *     ferrolune_result), created by one function and given back to exactly
 *     one free or close function;
 *   - UTF-8 text passed as a pointer and a byte length (no trailing NUL is
 *     needed or allowed); a zero length means the empty text and the pointer
 *     is then not read, so it may be null;
 *   - JSON documents in and out;
 *   - a status code (FERROLUNE_OK .. FERROLUNE_INTERNAL_FAULT) returned by
 *     every function except ferrolune_abi_version.
 *
 * Errors. Every function except ferrolune_abi_version and
 * ferrolune_last_error ends by writing the calling thread's last-error text:
 * empty on success, the failure's message otherwise. Read it with
 * ferrolune_last_error on the same thread, before making another call.
 *
 * Out parameters. A function with an out handle stores null in it first and
 * stores the new handle only on success. The caller owns every handle it
 * receives.
 *
 * Threads. Any function may be called from any thread. Each session and
 * each database handle has its own lock, held for a whole request; requests
 * on different handles run in parallel. Results are immutable; do not free a
 * result while another thread reads it.
 *
 * Faults. An internal fault caught inside a request returns
 * FERROLUNE_INTERNAL_FAULT with the message
 * "Ferrolune caught an internal panic" and poisons the handle the request
 * held: every later request on it fails with FERROLUNE_INTERNAL_FAULT, and
 * only freeing it is useful. Running out of memory ends the process.
 */
#ifndef FERROLUNE_H
#define FERROLUNE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(FERROLUNE_BUILDING)
#define FERROLUNE_API __attribute__((visibility("default")))
#else
#define FERROLUNE_API
#endif

/* Status codes. */
#define FERROLUNE_OK 0
/* A null pointer, an oversized length, an embedded NUL, an empty path, a
 * malformed or rejected document, or invalid input to a storage layer. */
#define FERROLUNE_INVALID_ARGUMENT 1
/* A text argument is not valid UTF-8. */
#define FERROLUNE_INVALID_UTF8 2
/* A database could not be opened or queried, or an answer could not be
 * serialised. */
#define FERROLUNE_STORAGE_ERROR 3
/* A database has the wrong schema or holds invalid data. */
#define FERROLUNE_DATA_ERROR 4
/* The caller's buffer cannot hold the text and its trailing NUL; the
 * required length has been stored. */
#define FERROLUNE_BUFFER_TOO_SMALL 5
/* An internal fault was caught, or the handle was poisoned by an earlier
 * one. */
#define FERROLUNE_INTERNAL_FAULT 6

/* Model query kinds for ferrolune_model_query. */
#define FERROLUNE_QUERY_TRADITIONAL 1
#define FERROLUNE_QUERY_CANGJIE 2
#define FERROLUNE_QUERY_SIMPLEX 3
#define FERROLUNE_QUERY_UNIGRAMS 4
#define FERROLUNE_QUERY_BIGRAMS 5

/* One input session: a composition context with its model and user
 * database connections. */
typedef struct ferrolune_session ferrolune_session;
/* A stand-alone read-only connection to the shared model. */
typedef struct ferrolune_database ferrolune_database;
/* An immutable answer: a JSON text and a row count. */
typedef struct ferrolune_result ferrolune_result;

/* A predicate on candidate texts. It receives the context given at session
 * creation and a UTF-8 text of `length` bytes that is not NUL-terminated;
 * a nonzero return keeps the candidate. It is called on the thread inside a
 * session request, with the session's lock held, and must not call back
 * into the engine for that session. */
typedef int (*ferrolune_candidate_filter)(void *context, const char *text,
                                          uint64_t length);

/* The version of this interface: 1. Not a status code; it writes no last
 * error. */
FERROLUNE_API int32_t ferrolune_abi_version(void);

/* Copies the calling thread's last-error text into `buffer` by the output
 * protocol: `*required` receives the text's length plus one; if `capacity`
 * is larger than the text's length, the text and a NUL are written and
 * FERROLUNE_OK is returned, otherwise FERROLUNE_BUFFER_TOO_SMALL and the
 * buffer is not written. A null buffer with capacity 0 asks for the size.
 * This function never changes the stored message, not even when it fails
 * (FERROLUNE_INVALID_ARGUMENT for a null `required`, a capacity above
 * INT64_MAX or a null buffer with a nonzero capacity). */
FERROLUNE_API int32_t ferrolune_last_error(char *buffer, uint64_t capacity,
                                           uint64_t *required);

/* Creates a session without a candidate filter; the same as
 * ferrolune_session_new_filtered with a null filter and context. */
FERROLUNE_API int32_t ferrolune_session_new(const char *model_path,
                                            uint64_t model_path_length,
                                            const char *config,
                                            uint64_t config_length,
                                            ferrolune_session **out);

/* Creates a session on the model file `model_path` from the JSON session
 * configuration `config` (an empty text is the default configuration).
 * `filter` may be null, which keeps every candidate; `context` is passed to
 * it unchanged. On success `*out` receives the session, to be freed by
 * ferrolune_session_free. Fails with FERROLUNE_INVALID_ARGUMENT for a null
 * `out`, an empty path, bad text or a rejected configuration,
 * FERROLUNE_INVALID_UTF8, FERROLUNE_STORAGE_ERROR or FERROLUNE_DATA_ERROR
 * when a database cannot be opened or is not valid. */
FERROLUNE_API int32_t ferrolune_session_new_filtered(
    const char *model_path, uint64_t model_path_length, const char *config,
    uint64_t config_length, ferrolune_candidate_filter filter, void *context,
    ferrolune_session **out);

/* Applies one JSON input operation to `session`. On success `*out`
 * receives a result holding the output document: the effects of the
 * operation and a snapshot of the session. On failure the session is as it
 * was before the call. */
FERROLUNE_API int32_t ferrolune_session_input(ferrolune_session *session,
                                              const char *operation,
                                              uint64_t operation_length,
                                              ferrolune_result **out);

/* Stores in `*out` a result holding the session's snapshot document with
 * no effects applied. The session is not changed. */
FERROLUNE_API int32_t ferrolune_session_snapshot(ferrolune_session *session,
                                                 ferrolune_result **out);

/* Stores in `*out` a result holding the session's user data (its learned
 * phrases, caches and counts) as a JSON document. */
FERROLUNE_API int32_t ferrolune_session_export_user_data(
    ferrolune_session *session, ferrolune_result **out);

/* Destroys the session held in `*slot`, closing its databases, and stores
 * null in the slot. A slot that already holds null is not an error. A
 * poisoned session is freed the same way. Fails only for a null `slot`. */
FERROLUNE_API int32_t ferrolune_session_free(ferrolune_session **slot);

/* Copies the result's JSON text into `buffer` by the output protocol of
 * ferrolune_last_error. Fails with FERROLUNE_INVALID_ARGUMENT for a null
 * result, then as that protocol says. */
FERROLUNE_API int32_t ferrolune_result_read(const ferrolune_result *result,
                                            char *buffer, uint64_t capacity,
                                            uint64_t *required);

/* Stores the result's row count in `*out` (0 first, so that a null result
 * leaves 0). For model queries and associated requests it is the number of
 * rows in the document. */
FERROLUNE_API int32_t ferrolune_result_row_count(const ferrolune_result *result,
                                                 uint64_t *out);

/* Destroys the result held in `*slot` and stores null in the slot. A slot
 * that already holds null is not an error. Fails only for a null `slot`. */
FERROLUNE_API int32_t ferrolune_result_free(ferrolune_result **slot);

/* Opens the model file `path` read-only and checks its schema. On success
 * `*out` receives the handle, to be closed by ferrolune_database_close. */
FERROLUNE_API int32_t ferrolune_database_open(const char *path,
                                              uint64_t path_length,
                                              ferrolune_database **out);

/* Closes the connection held in `*slot`, destroys the handle and stores
 * null in the slot. Errors from closing are discarded; a slot that already
 * holds null is not an error. Fails only for a null `slot`. */
FERROLUNE_API int32_t ferrolune_database_close(ferrolune_database **slot);

/* Looks `key` up in the model: `kind` is one of FERROLUNE_QUERY_*. On
 * success `*out` receives a rows document and the row count is the number
 * of rows. An unknown kind fails with FERROLUNE_INVALID_ARGUMENT. */
FERROLUNE_API int32_t ferrolune_model_query(ferrolune_database *database,
                                            uint32_t kind, const char *key,
                                            uint64_t key_length,
                                            ferrolune_result **out);

/* Answers a JSON associated-collection request: the collections of
 * associated phrases that the model offers. */
FERROLUNE_API int32_t ferrolune_associated_collections(
    ferrolune_database *database, const char *request,
    uint64_t request_length, ferrolune_result **out);

/* Answers a JSON associated-phrase request: the phrases that may follow a
 * text, from the collections named in the request. */
FERROLUNE_API int32_t ferrolune_associated_phrases(ferrolune_database *database,
                                                   const char *request,
                                                   uint64_t request_length,
                                                   ferrolune_result **out);

/* Answers a JSON reading codec request: converts between Bopomofo
 * readings and the model's reading keys. Needs no handle. */
FERROLUNE_API int32_t ferrolune_reading_codec(const char *request,
                                              uint64_t request_length,
                                              ferrolune_result **out);

/* Checks a JSON user archive document and produces nothing:
 * FERROLUNE_OK if it could be imported, FERROLUNE_INVALID_ARGUMENT with the
 * problem otherwise. */
FERROLUNE_API int32_t ferrolune_validate_user_archive(const char *archive,
                                                      uint64_t archive_length);

#ifdef __cplusplus
}
#endif

#endif /* FERROLUNE_H */
