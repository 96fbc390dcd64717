// Writes a ModelContent as a model file: the nine tables the engine reads,
// an index on every column the engine looks rows up by, and model_info
// with the sources and their licences.
//
// The file is built under a temporary name beside the target and renamed
// into place only when complete, so a failed build never leaves a partial
// model where the engine would find it. Rows go in in the content's order
// in one transaction with the indexes made afterwards; with the same
// content and the same SQLite the file is byte-for-byte the same.
#pragma once

#include <expected>
#include <filesystem>
#include <string>

#include "model_content.h"

namespace ferrolune::model_compiler {

std::expected<void, std::string> write_model(const std::filesystem::path& path, const ModelContent& content);

}  // namespace ferrolune::model_compiler
