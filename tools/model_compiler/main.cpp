// ferrolune-model-compiler: builds the shared model ZezAri.db from the
// open dictionary files and the data/ files of this repository.
//
//   ferrolune-model-compiler --output PATH [--pinyin FILE] [--frequency FILE]
//                            [--cangjie FILE] [--data DIR] [--syllables]
//
// Prints a summary (readings converted and not, rows dropped by reason,
// rows per table, file size, time) and exits 0; on a broken input it
// prints the reason to standard error, writes no model and exits 1.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

#include "associated_table.h"
#include "bopomofo/syllable.h"
#include "compile_report.h"
#include "data_file.h"
#include "dictionary_tables.h"
#include "lexicon.h"
#include "model_writer.h"
#include "open_sources.h"
#include "pinyin_reading.h"
#include "unigram_table.h"

namespace ferrolune::model_compiler {
namespace {

struct Arguments {
  std::filesystem::path pinyin = "/usr/share/rime-data/terra_pinyin.dict.yaml";
  std::filesystem::path frequency = "/usr/share/rime-data/essay.txt";
  std::filesystem::path cangjie = "/usr/share/rime-data/cangjie5.dict.yaml";
  std::filesystem::path data = FERROLUNE_DATA_DIR;
  std::filesystem::path output;
  bool syllables = false;
};

constexpr const char* kUsage =
    "usage: ferrolune-model-compiler --output PATH [--pinyin FILE] [--frequency FILE]\n"
    "                                [--cangjie FILE] [--data DIR] [--syllables]\n";

std::expected<Arguments, std::string> parse_arguments(int argc, char** argv) {
  Arguments arguments;
  for (int i = 1; i < argc; ++i) {
    const std::string_view name = argv[i];
    if (name == "--syllables") {
      arguments.syllables = true;
      continue;
    }
    std::filesystem::path* target = name == "--output"      ? &arguments.output
                                    : name == "--pinyin"    ? &arguments.pinyin
                                    : name == "--frequency" ? &arguments.frequency
                                    : name == "--cangjie"   ? &arguments.cangjie
                                    : name == "--data"      ? &arguments.data
                                                            : nullptr;
    if (!target) return std::unexpected("unknown argument " + std::string(name));
    if (i + 1 == argc) return std::unexpected(std::string(name) + " needs a value");
    *target = argv[++i];
  }
  if (arguments.output.empty()) return std::unexpected("--output is required");
  return arguments;
}

std::expected<DataFiles, std::string> read_data_files(const std::filesystem::path& directory) {
  DataFiles files;
  const std::pair<const char*, DataFile*> names[] = {
      {"cangjie_radicals.txt", &files.radicals},
      {"table_properties.txt", &files.table_properties},
      {"punctuation.txt", &files.punctuation},
      {"control_lists.txt", &files.control_lists},
      {"punctuation_halfwidth.txt", &files.halfwidth},
      {"punctuation_mixedwidth.txt", &files.mixedwidth},
      {"pinyin_exceptions.txt", &files.pinyin_exceptions},
      {"default_unigram.txt", &files.default_unigram},
  };
  for (const auto& [name, file] : names) {
    auto read = read_data_file(directory / name);
    if (!read) return std::unexpected(read.error());
    *file = std::move(*read);
  }
  return files;
}

std::vector<KeyValueRow> model_info(const PinyinDictionary& pinyin, const CangjieDictionary& cangjie) {
  return {
      {"format", "ferrolune model 1"},
      {"compiled_by", "ferrolune-model-compiler: a derived work of the sources below, built on this machine"},
      {"source.pinyin", "terra_pinyin.dict.yaml (Debian package rime-data-terra-pinyin), version " + pinyin.version},
      {"licence.pinyin", "CC BY-SA 3.0, derived from CC-CEDICT"},
      {"source.frequency", "essay.txt (Debian package rime-essay)"},
      {"licence.frequency", "LGPL-3"},
      {"source.cangjie", "cangjie5.dict.yaml (Debian package rime-data-cangjie5), version " + cangjie.version},
      {"licence.cangjie", "LGPL-3 as packaged; the file's own header says GPL"},
      {"source.data", "the data/ files of Ferrolune: radical names, table properties, punctuation and "
                      "control lists, Pinyin exceptions, default unigram"},
      {"bigrams", "none: the open sources carry no word-pair statistics"},
  };
}

std::expected<void, std::string> compile(const Arguments& arguments) {
  const auto start = std::chrono::steady_clock::now();
  CompileReport report;

  auto data = read_data_files(arguments.data);
  if (!data) return std::unexpected(data.error());
  auto converter = PinyinConverter::from_exceptions(data->pinyin_exceptions);
  if (!converter) return std::unexpected(converter.error());
  auto pinyin = read_pinyin_dictionary(arguments.pinyin);
  if (!pinyin) return std::unexpected(pinyin.error());
  auto frequency = read_frequency_list(arguments.frequency);
  if (!frequency) return std::unexpected(frequency.error());
  auto cangjie = read_cangjie_dictionary(arguments.cangjie);
  if (!cangjie) return std::unexpected(cangjie.error());

  auto lexicon = build_lexicon(*pinyin, *frequency, *converter, report);
  if (!lexicon) return std::unexpected(lexicon.error());
  if (arguments.syllables) {
    for (const auto& [spelling, syllable] : converter->seen()) {
      std::cout << spelling << '\t' << (syllable ? bopomofo::render_bopomofo(*syllable) : "-") << '\n';
    }
  }

  ModelContent content;
  auto unigrams = build_unigrams(*lexicon, data->default_unigram, report);
  if (!unigrams) return std::unexpected(unigrams.error());
  content.unigrams = std::move(*unigrams);
  auto phonetic = build_phonetic_table(*lexicon, *data);
  if (!phonetic) return std::unexpected(phonetic.error());
  content.phonetic = std::move(*phonetic);
  auto shapes = build_shape_tables(*cangjie, *lexicon, *data, report);
  if (!shapes) return std::unexpected(shapes.error());
  content.cangjie = std::move(shapes->cangjie);
  content.simplex = std::move(shapes->simplex);
  auto halfwidth = build_punctuation_table(data->halfwidth);
  if (!halfwidth) return std::unexpected(halfwidth.error());
  content.halfwidth = std::move(*halfwidth);
  auto mixedwidth = build_punctuation_table(data->mixedwidth);
  if (!mixedwidth) return std::unexpected(mixedwidth.error());
  content.mixedwidth = std::move(*mixedwidth);
  auto associated = build_associated_tables(*frequency, report);
  content.associated = std::move(associated.phrases);
  content.collections = std::move(associated.collections);
  content.info = model_info(*pinyin, *cangjie);

  if (auto written = write_model(arguments.output, content); !written) return written;

  report.table_rows = {
      {"unigrams", content.unigrams.size()},
      {"bigrams", 0},
      {"Mandarin-bpmf-cin", content.phonetic.size()},
      {"Generic-cj-cin", content.cangjie.size()},
      {"Generic-simplex-cin", content.simplex.size()},
      {"associated_phrases", content.associated.size()},
      {"collection_names", content.collections.size()},
      {"Punctuations-cj-halfwidth-cin", content.halfwidth.size()},
      {"Punctuations-cj-mixedwidth-cin", content.mixedwidth.size()},
      {"model_info", content.info.size()},
  };
  std::error_code error;
  report.file_size = std::filesystem::file_size(arguments.output, error);
  report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::cout << "model: " << arguments.output.string() << "\n";
  report.print(std::cout);
  return {};
}

}  // namespace
}  // namespace ferrolune::model_compiler

int main(int argc, char** argv) {
  using namespace ferrolune::model_compiler;
  const auto arguments = parse_arguments(argc, argv);
  if (!arguments) {
    std::cerr << "ferrolune-model-compiler: " << arguments.error() << "\n" << kUsage;
    return 2;
  }
  if (const auto compiled = compile(*arguments); !compiled) {
    std::cerr << "ferrolune-model-compiler: " << compiled.error() << "\n";
    return 1;
  }
  return 0;
}
