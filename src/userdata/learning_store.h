// The learning store: loading a LearningState from a user database and
// writing LearningChanges to it.
//
// Several connections, in one process or several, may share a database.
// Writers take SQLite's write lock up front ("BEGIN IMMEDIATE", bounded by
// the connection's busy timeout) before they read the metadata, so the
// generation check and the writes are atomic with respect to other
// writers. A write either commits all of its changes, the revision bump and
// the cache pruning, or nothing. Readers load inside one deferred
// transaction so that the four tables and the counters agree.
#pragma once

#include <cstdint>
#include <span>

#include "model/error.h"
#include "model/sqlite.h"
#include "userdata/learning_change.h"
#include "userdata/learning_state.h"

namespace ferrolune::userdata {

// Reads the metadata and the four tables in rowid order, checking every
// record and then the whole state. Runs inside the caller's transaction if
// one is open. Stored values of the wrong storage class are InvalidData.
model::ModelResult<LearningState> load_learning(const model::Connection& connection);

// load_learning inside its own deferred read transaction.
model::ModelResult<LearningState> refresh_learning(const model::Connection& connection);

// Keeps the newest kCacheCapacity rows of each cache table.
model::ModelResult<void> prune_learning_caches(const model::Connection& connection);

enum class WriteStatus {
  // The changes were committed; `state` is the state after the commit,
  // including what other writers committed before.
  Applied,
  // Another writer reset learning since the caller loaded `generation`;
  // nothing was written and `state` is the stored state.
  GenerationChanged,
};

struct WriteOutcome {
  WriteStatus status = WriteStatus::Applied;
  LearningState state;
};

// Writes `changes` in one transaction, provided the stored generation is
// still `generation`. Records are checked before any SQL runs; every
// failure inside the transaction rolls it back completely.
model::ModelResult<WriteOutcome> write_learning_changes(const model::Connection& connection,
                                                        std::int64_t generation,
                                                        std::span<const LearningChange> changes);

}  // namespace ferrolune::userdata
