// Reader of the hand-written data files in data/.
//
// A data file is UTF-8 text of lines. Empty lines and lines whose first
// character is "#" are comments. Every other line is one record: fields
// separated by single tabs, the first of which (the key) is never empty.
// Inside a field "\s" is a space, "\t" a tab and "\\" a backslash, and a
// field that is exactly "\e" is the empty text; any other backslash is an
// error, so that a typing slip cannot silently become data.
#pragma once

#include <cstddef>
#include <expected>
#include <filesystem>
#include <string>
#include <vector>

namespace ferrolune::model_compiler {

struct DataRecord {
  std::size_t line = 0;             // 1-based, for messages
  std::vector<std::string> fields;  // unescaped; fields[0] is the key
};

struct DataFile {
  std::filesystem::path path;
  std::vector<DataRecord> records;  // in file order
};

// Reads and checks the whole file. The error names the file and the line.
std::expected<DataFile, std::string> read_data_file(const std::filesystem::path& path);

// Reads a whole file into memory; the error names the file and the
// operating system's reason.
std::expected<std::string, std::string> read_text_file(const std::filesystem::path& path);

}  // namespace ferrolune::model_compiler
