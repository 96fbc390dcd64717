#include "data_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string_view>

#include "base/utf8.h"

namespace ferrolune::model_compiler {
namespace {

std::string where(const std::filesystem::path& path, std::size_t line) {
  return path.string() + ":" + std::to_string(line);
}

std::expected<std::string, std::string> unescape(std::string_view field) {
  if (field == "\\e") return std::string();
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\') {
      out += field[i];
      continue;
    }
    if (i + 1 == field.size()) return std::unexpected("a backslash ends the field");
    switch (field[++i]) {
      case 's': out += ' '; break;
      case 't': out += '\t'; break;
      case '\\': out += '\\'; break;
      default: return std::unexpected(std::string("unknown escape \\") + field[i]);
    }
  }
  return out;
}

}  // namespace

std::expected<std::string, std::string> read_text_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::unexpected(path.string() + ": cannot open: " + std::strerror(errno));
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) return std::unexpected(path.string() + ": read error");
  return std::move(content).str();
}

std::expected<DataFile, std::string> read_data_file(const std::filesystem::path& path) {
  auto text = read_text_file(path);
  if (!text) return std::unexpected(text.error());
  if (!base::is_valid_utf8(*text)) return std::unexpected(path.string() + ": not valid UTF-8");

  DataFile file{path, {}};
  std::string_view rest = *text;
  for (std::size_t number = 1; !rest.empty(); ++number) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;

    DataRecord record{number, {}};
    for (std::size_t start = 0;;) {
      const std::size_t tab = line.find('\t', start);
      auto field = unescape(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
      if (!field) return std::unexpected(where(path, number) + ": " + field.error());
      record.fields.push_back(std::move(*field));
      if (tab == std::string_view::npos) break;
      start = tab + 1;
    }
    if (record.fields.front().empty()) return std::unexpected(where(path, number) + ": empty key");
    file.records.push_back(std::move(record));
  }
  return file;
}

}  // namespace ferrolune::model_compiler
