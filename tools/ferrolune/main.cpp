// ferrolune: the engine from the command line, through its C interface.
//
//   ferrolune type [--method M] [--layout L] KEYS
//   ferrolune query KIND KEY | ferrolune query KIND --reading BOPOMOFO
//   ferrolune codec encode READING | ferrolune codec decode QSTRING
//   ferrolune associated [--collection NAME]... HEAD | ferrolune associated --collections
//
// Common options: --model PATH (default: the model of the build tree if it
// exists, else the installed one), --user-db PATH (type only; default: a
// private in-memory database), --json (print the engine's documents as
// they are). Errors go to standard error with the engine's message, and
// the exit status is 1 (2 for a usage error).
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine.h"
#include "key_sequence.h"

namespace ferrolune::cli {
namespace {

constexpr const char* kInstalledModel = "/usr/local/share/tovu/ferrolune/ZezAri.db";

constexpr const char* kUsage =
    "usage: ferrolune type [--method M] [--layout L] KEYS\n"
    "       ferrolune query traditional|cangjie|simplex|unigrams|bigrams KEY\n"
    "       ferrolune query KIND --reading BOPOMOFO\n"
    "       ferrolune codec encode READING | decode QSTRING\n"
    "       ferrolune associated [--collection NAME]... HEAD\n"
    "       ferrolune associated --collections\n"
    "options: --model PATH, --user-db PATH, --json\n"
    "KEYS: characters, named keys in braces ({space} {enter} {down} ...),\n"
    "      modifiers joined with + ({ctrl+1}); {{ and }} for braces\n";

struct UsageError {
  std::string message;
};

struct Options {
  std::string command;
  std::vector<std::string> positional;
  std::map<std::string, std::vector<std::string>> values;  // --name VALUE, repeatable
  bool json = false;
  bool collections = false;

  std::optional<std::string> value(const std::string& name) const {
    const auto found = values.find(name);
    if (found == values.end()) return std::nullopt;
    return found->second.back();
  }
};

std::expected<Options, UsageError> parse_options(int argc, char** argv) {
  static const std::vector<std::string> with_value = {"--model", "--user-db", "--method", "--layout",
                                                      "--reading", "--collection"};
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--json") {
      options.json = true;
    } else if (argument == "--collections") {
      options.collections = true;
    } else if (std::ranges::find(with_value, argument) != with_value.end()) {
      if (i + 1 == argc) return std::unexpected(UsageError{argument + " needs a value"});
      options.values[argument].push_back(argv[++i]);
    } else if (argument.starts_with("--")) {
      return std::unexpected(UsageError{"unknown option " + argument});
    } else if (options.command.empty()) {
      options.command = argument;
    } else {
      options.positional.push_back(argument);
    }
  }
  if (options.command.empty()) return std::unexpected(UsageError{"no command given"});
  return options;
}

std::string model_path(const Options& options) {
  if (const auto given = options.value("--model")) return *given;
  if (std::filesystem::exists(FERROLUNE_BUILD_TREE_MODEL)) return FERROLUNE_BUILD_TREE_MODEL;
  return kInstalledModel;
}

std::string json_string(std::string_view text) {
  rapidjson::StringBuffer buffer;
  rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
  writer.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
  return buffer.GetString();
}

std::expected<rapidjson::Document, std::string> parse(const std::string& text) {
  rapidjson::Document document;
  document.Parse(text.c_str(), text.size());
  if (document.HasParseError() || !document.IsObject()) return std::unexpected("the engine's answer is not a JSON object");
  return document;
}

std::string text_member(const rapidjson::Value& object, const char* name) {
  const auto found = object.FindMember(name);
  if (found == object.MemberEnd() || !found->value.IsString()) return {};
  return {found->value.GetString(), found->value.GetStringLength()};
}

std::uint64_t number_member(const rapidjson::Value& object, const char* name) {
  const auto found = object.FindMember(name);
  return found != object.MemberEnd() && found->value.IsUint64() ? found->value.GetUint64() : 0;
}

std::string joined_strings(const rapidjson::Value& object, const char* name, const char* separator) {
  std::string out;
  const auto found = object.FindMember(name);
  if (found == object.MemberEnd() || !found->value.IsArray()) return out;
  for (const auto& item : found->value.GetArray()) {
    if (!item.IsString()) continue;
    if (!out.empty()) out += separator;
    out.append(item.GetString(), item.GetStringLength());
  }
  return out;
}

std::string number_text(const rapidjson::Value& value) {
  if (value.IsInt64()) return std::to_string(value.GetInt64());
  if (!value.IsNumber()) return "?";
  char buffer[32];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, value.GetDouble());
  return std::string(buffer, written.ptr);
}

using Outcome = std::expected<void, std::string>;

Outcome run_type(const Options& options) {
  if (options.positional.size() != 1) return std::unexpected("type needs exactly one KEYS argument");
  const auto operations = key_operations(options.positional.front());
  if (!operations) return std::unexpected(operations.error());

  std::string config = "{";
  const auto member = [&](const char* name, const std::optional<std::string>& value) {
    if (!value) return;
    if (config.size() > 1) config += ",";
    config += json_string(name) + ":" + json_string(*value);
  };
  member("method", options.value("--method"));
  member("layout", options.value("--layout"));
  member("user_database", options.value("--user-db"));
  config += "}";

  auto session = Session::open(model_path(options), config);
  if (!session) return std::unexpected(session.error());
  std::string committed;
  std::string last;
  for (const auto& operation : *operations) {
    auto answer = session->input(operation);
    if (!answer) return std::unexpected(answer.error());
    if (options.json) std::cout << *answer << "\n";
    auto document = parse(*answer);
    if (!document) return std::unexpected(document.error());
    const auto effects = document->FindMember("effects");
    if (effects != document->MemberEnd() && effects->value.IsObject()) committed += text_member(effects->value, "commit");
    last = std::move(*answer);
  }
  if (options.json) return {};
  std::cout << "committed: " << committed << "\n";
  if (last.empty()) return {};
  const auto document = parse(last);
  if (!document) return std::unexpected(document.error());
  std::cout << "preedit: " << text_member(*document, "visible_text") << "\n";
  std::cout << "candidates: " << joined_strings(*document, "displayed_candidates", " ");
  const std::uint64_t pages = number_member(*document, "page_count");
  if (pages > 1) std::cout << " (page " << number_member(*document, "page") + 1 << " of " << pages << ")";
  std::cout << "\n";
  return {};
}

// The reading key of Bopomofo text, by the engine's codec.
std::expected<std::string, std::string> encode(std::string_view reading) {
  auto answer = reading_codec("{\"operation\":\"encode\",\"reading\":" + json_string(reading) + "}");
  if (!answer) return std::unexpected(answer.error());
  auto document = parse(*answer);
  if (!document) return std::unexpected(document.error());
  return text_member(*document, "qstring");
}

Outcome run_query(const Options& options) {
  static const std::map<std::string, std::uint32_t> kinds = {
      {"traditional", FERROLUNE_QUERY_TRADITIONAL}, {"cangjie", FERROLUNE_QUERY_CANGJIE},
      {"simplex", FERROLUNE_QUERY_SIMPLEX},         {"unigrams", FERROLUNE_QUERY_UNIGRAMS},
      {"bigrams", FERROLUNE_QUERY_BIGRAMS}};
  const auto reading = options.value("--reading");
  if (options.positional.size() != (reading ? 1u : 2u)) return std::unexpected("query needs a KIND and a KEY");
  const auto kind = kinds.find(options.positional[0]);
  if (kind == kinds.end()) return std::unexpected("unknown query kind " + options.positional[0]);
  std::string key = reading ? "" : options.positional[1];
  if (reading) {
    auto encoded = encode(*reading);
    if (!encoded) return std::unexpected(encoded.error());
    key = std::move(*encoded);
  }

  auto database = Database::open(model_path(options));
  if (!database) return std::unexpected(database.error());
  auto answer = database->query(kind->second, key);
  if (!answer) return std::unexpected(answer.error());
  if (options.json) {
    std::cout << *answer << "\n";
    return {};
  }
  auto document = parse(*answer);
  if (!document) return std::unexpected(document.error());
  const auto rows = document->FindMember("rows");
  if (rows == document->MemberEnd() || !rows->value.IsArray()) return std::unexpected("the answer has no rows");
  for (const auto& row : rows->value.GetArray()) {
    if (row.IsString()) {
      std::cout << row.GetString() << "\n";
    } else if (row.IsObject()) {
      const bool bigram = row.HasMember("previous");
      if (bigram) std::cout << text_member(row, "previous") << "\t";
      std::cout << text_member(row, "current") << "\t" << number_text(row["probability"]);
      if (!bigram) std::cout << "\t" << number_text(row["backoff"]);
      std::cout << "\n";
    }
  }
  return {};
}

Outcome run_codec(const Options& options) {
  if (options.positional.size() != 2 || (options.positional[0] != "encode" && options.positional[0] != "decode")) {
    return std::unexpected("codec needs encode READING or decode QSTRING");
  }
  const bool encoding = options.positional[0] == "encode";
  auto answer = reading_codec(std::string("{\"operation\":\"") + (encoding ? "encode\",\"reading\":" : "decode\",\"qstring\":") +
                              json_string(options.positional[1]) + "}");
  if (!answer) return std::unexpected(answer.error());
  if (options.json) {
    std::cout << *answer << "\n";
    return {};
  }
  auto document = parse(*answer);
  if (!document) return std::unexpected(document.error());
  std::cout << "qstring: " << text_member(*document, "qstring") << "\n"
            << "reading: " << text_member(*document, "reading") << "\n"
            << "syllables: " << number_member(*document, "syllable_count") << "\n";
  return {};
}

Outcome run_associated(const Options& options) {
  auto database = Database::open(model_path(options));
  if (!database) return std::unexpected(database.error());
  std::vector<std::string> names;
  if (const auto given = options.values.find("--collection"); given != options.values.end()) names = given->second;
  if (options.collections || names.empty()) {
    auto answer = database->collections("{}");
    if (!answer) return std::unexpected(answer.error());
    if (options.collections) {
      if (options.json) {
        std::cout << *answer << "\n";
        return {};
      }
    }
    auto document = parse(*answer);
    if (!document) return std::unexpected(document.error());
    for (const auto& row : (*document)["rows"].GetArray()) {
      if (options.collections) {
        std::cout << text_member(row, "source") << "\t" << text_member(row, "display") << "\t"
                  << number_text(row["sort_order"]) << "\n";
      } else {
        names.push_back(text_member(row, "source"));
      }
    }
    if (options.collections) return {};
  }
  if (options.positional.size() != 1) return std::unexpected("associated needs one HEAD");
  std::string request = "{\"head\":" + json_string(options.positional[0]) + ",\"collections\":[";
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) request += ',';
    request += json_string(names[i]);
  }
  request += "]}";
  auto answer = database->phrases(request);
  if (!answer) return std::unexpected(answer.error());
  if (options.json) {
    std::cout << *answer << "\n";
    return {};
  }
  auto document = parse(*answer);
  if (!document) return std::unexpected(document.error());
  std::cout << joined_strings(*document, "rows", "\n") << "\n";
  return {};
}

}  // namespace
}  // namespace ferrolune::cli

int main(int argc, char** argv) {
  using namespace ferrolune::cli;
  const auto options = parse_options(argc, argv);
  if (!options) {
    std::cerr << "ferrolune: " << options.error().message << "\n" << kUsage;
    return 2;
  }
  const std::map<std::string, Outcome (*)(const Options&)> commands = {
      {"type", run_type}, {"query", run_query}, {"codec", run_codec}, {"associated", run_associated}};
  const auto command = commands.find(options->command);
  if (command == commands.end()) {
    std::cerr << "ferrolune: unknown command " << options->command << "\n" << kUsage;
    return 2;
  }
  if (const auto outcome = command->second(*options); !outcome) {
    std::cerr << "ferrolune: " << outcome.error() << "\n";
    return 1;
  }
  return 0;
}
