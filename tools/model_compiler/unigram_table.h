// The language model's unigrams, from the lexicon:
//   - each character under each of its reading keys, with log10 of its
//     corpus count times the reading's share, relative to the corpus total;
//   - each word under its reading key with log10 of its relative count;
//   - the alias rows of the polyphone groups (polyphone_groups.h);
//   - the default row under "*" from data/default_unigram.txt.
// Every probability is floored (lexicon.h) and every backoff is 0: without
// word-pair statistics a backoff has nothing to weigh. A (qstring, current)
// pair appears once, with its best probability. Rows are sorted by qstring,
// then best first, then by text, so one key's rows are adjacent and in the
// order the engine ranks them.
#pragma once

#include <expected>
#include <string>
#include <vector>

#include "compile_report.h"
#include "data_file.h"
#include "lexicon.h"
#include "model_content.h"

namespace ferrolune::model_compiler {

std::expected<std::vector<UnigramRow>, std::string> build_unigrams(const Lexicon& lexicon,
                                                                   const DataFile& default_unigram,
                                                                   CompileReport& report);

}  // namespace ferrolune::model_compiler
