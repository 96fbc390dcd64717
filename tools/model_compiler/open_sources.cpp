#include "open_sources.h"

#include <charconv>
#include <string_view>

#include "base/utf8.h"
#include "data_file.h"

namespace ferrolune::model_compiler {
namespace {

std::string where(const std::filesystem::path& path, std::size_t line) {
  return path.string() + ":" + std::to_string(line);
}

// Walks the lines of a file, with 1-based numbers; a trailing CR is cut.
class Lines {
 public:
  explicit Lines(std::string_view text) : rest_(text) {}
  bool next(std::string_view& line) {
    if (rest_.empty()) return false;
    const std::size_t end = rest_.find('\n');
    line = rest_.substr(0, end);
    rest_ = end == std::string_view::npos ? std::string_view() : rest_.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++number_;
    return true;
  }
  std::size_t number() const { return number_; }

 private:
  std::string_view rest_;
  std::size_t number_ = 0;
};

std::vector<std::string_view> split_tabs(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

std::expected<std::string, std::string> read_utf8(const std::filesystem::path& path) {
  auto text = read_text_file(path);
  if (!text) return text;
  if (!base::is_valid_utf8(*text)) return std::unexpected(path.string() + ": not valid UTF-8");
  return text;
}

// Skips a Rime dictionary's YAML header up to its "..." line and returns
// the header's version value (quotes removed), or an error if the header
// never ends.
std::expected<std::string, std::string> skip_yaml_header(Lines& lines, const std::filesystem::path& path) {
  std::string version;
  std::string_view line;
  while (lines.next(line)) {
    if (line == "...") return version;
    if (line.starts_with("version:")) {
      std::string_view value = line.substr(8);
      while (!value.empty() && (value.front() == ' ' || value.front() == '"')) value.remove_prefix(1);
      while (!value.empty() && (value.back() == ' ' || value.back() == '"')) value.remove_suffix(1);
      version = value;
    }
  }
  return std::unexpected(path.string() + ": the YAML header does not end with a \"...\" line");
}

std::optional<double> parse_percentage(std::string_view text) {
  if (text.size() < 2 || text.back() != '%') return std::nullopt;
  text.remove_suffix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !(value >= 0 && value <= 100)) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::expected<PinyinDictionary, std::string> read_pinyin_dictionary(const std::filesystem::path& path) {
  auto text = read_utf8(path);
  if (!text) return std::unexpected(text.error());
  Lines lines(*text);
  auto version = skip_yaml_header(lines, path);
  if (!version) return std::unexpected(version.error());

  PinyinDictionary dictionary{std::move(*version), {}};
  std::string_view line;
  while (lines.next(line)) {
    if (line.empty() || line.front() == '#') continue;
    const auto fields = split_tabs(line);
    if (fields.size() < 2 || fields.size() > 3 || fields[0].empty() || fields[1].empty()) {
      return std::unexpected(where(path, lines.number()) + ": expected text, reading and an optional share");
    }
    PinyinEntry entry{std::string(fields[0]), std::string(fields[1]), std::nullopt, lines.number()};
    if (fields.size() == 3) {
      entry.share = parse_percentage(fields[2]);
      if (!entry.share) {
        return std::unexpected(where(path, lines.number()) + ": the share must be a percentage from 0% to 100%");
      }
    }
    dictionary.entries.push_back(std::move(entry));
  }
  return dictionary;
}

std::expected<FrequencyList, std::string> read_frequency_list(const std::filesystem::path& path) {
  auto text = read_utf8(path);
  if (!text) return std::unexpected(text.error());
  Lines lines(*text);
  FrequencyList list;
  std::string_view line;
  while (lines.next(line)) {
    if (line.empty()) continue;
    const auto fields = split_tabs(line);
    std::uint64_t count = 0;
    const bool numeric =
        fields.size() == 2 && !fields[1].empty() &&
        std::from_chars(fields[1].data(), fields[1].data() + fields[1].size(), count).ptr ==
            fields[1].data() + fields[1].size();
    if (!numeric || fields[0].empty()) {
      return std::unexpected(where(path, lines.number()) + ": expected a word, a tab and a count");
    }
    list.entries.push_back({std::string(fields[0]), count});
  }
  return list;
}

std::expected<CangjieDictionary, std::string> read_cangjie_dictionary(const std::filesystem::path& path) {
  auto text = read_utf8(path);
  if (!text) return std::unexpected(text.error());
  Lines lines(*text);
  auto version = skip_yaml_header(lines, path);
  if (!version) return std::unexpected(version.error());

  CangjieDictionary dictionary{std::move(*version), {}};
  std::string_view line;
  while (lines.next(line)) {
    if (line.empty() || line.front() == '#') continue;
    // The optional third column is the code's stem, which the model does not use.
    const auto fields = split_tabs(line);
    if (fields.size() < 2 || fields.size() > 3 || fields[0].empty() || fields[1].empty()) {
      return std::unexpected(where(path, lines.number()) + ": expected text, code and an optional stem");
    }
    dictionary.entries.push_back({std::string(fields[0]), std::string(fields[1]), lines.number()});
  }
  return dictionary;
}

}  // namespace ferrolune::model_compiler
