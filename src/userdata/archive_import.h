// Importing a user archive: the checks an archive must pass and the
// learning changes it turns into. Phrases are merged (a stored phrase keeps
// its scores); the smart caches and the table counts, when the archive
// carries them, replace what is stored.
#pragma once

#include <vector>

#include "model/error.h"
#include "userdata/learning_change.h"
#include "userdata/user_archive.h"

namespace ferrolune::userdata {

// InvalidInput "unsupported user archive schema version" unless the
// version is 1; then the archive's records must form a valid
// LearningState (capacity, duplicates, value checks).
model::ModelResult<void> validate_user_archive(const UserArchive& archive);

// The changes of an import, after validate_user_archive.
model::ModelResult<std::vector<LearningChange>> archive_to_changes(const UserArchive& archive);

}  // namespace ferrolune::userdata
