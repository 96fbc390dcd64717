// The key-value tables of the model.
//
//   phonetic   each character under each of its one-syllable reading keys,
//              most frequent first (corpus count times reading share, ties in
//              dictionary order); then the punctuation, symbol and control
//              lists of data/punctuation.txt and data/control_lists.txt.
//   cangjie    the radical names (data/cangjie_radicals.txt) and the table
//              properties (data/table_properties.txt), then every Cangjie
//              code with its characters, most frequent first.
//   simplex    the same properties, then the Simplex codes: the first and
//              last letter of each Cangjie code (the letter itself for a
//              one-letter code), most frequent first. Cangjie codes that
//              start with x or z are not shapes but auxiliary codes of the
//              Cangjie table (variant forms, symbols, quick codes) and make
//              no Simplex code.
//   halfwidth, mixedwidth  the punctuation tables of the table methods.
//
// Data-file records are checked: a key of an unknown form, a property
// outside its limits or a repeated key refuses the build.
#pragma once

#include <expected>
#include <string>
#include <vector>

#include "compile_report.h"
#include "data_file.h"
#include "lexicon.h"
#include "model_content.h"
#include "open_sources.h"

namespace ferrolune::model_compiler {

struct DataFiles {
  DataFile radicals;
  DataFile table_properties;
  DataFile punctuation;
  DataFile control_lists;
  DataFile halfwidth;
  DataFile mixedwidth;
  DataFile pinyin_exceptions;
  DataFile default_unigram;
};

std::expected<std::vector<KeyValueRow>, std::string> build_phonetic_table(const Lexicon& lexicon,
                                                                          const DataFiles& data);

struct ShapeTables {
  std::vector<KeyValueRow> cangjie;
  std::vector<KeyValueRow> simplex;
};

std::expected<ShapeTables, std::string> build_shape_tables(const CangjieDictionary& dictionary,
                                                           const Lexicon& lexicon, const DataFiles& data,
                                                           CompileReport& report);

// A punctuation table of the table methods: keys of lower-case letters.
std::expected<std::vector<KeyValueRow>, std::string> build_punctuation_table(const DataFile& file);

}  // namespace ferrolune::model_compiler
