// Associated phrases from the frequency list: one collection ("essay").
// For each head character, the continuations of every listed word of two
// or more characters that starts with it, most frequent first (ties in list
// order), joined by commas. A word whose continuation holds a comma could
// not be stored and is dropped. Heads are written in byte order.
#pragma once

#include <vector>

#include "compile_report.h"
#include "model_content.h"
#include "open_sources.h"

namespace ferrolune::model_compiler {

inline constexpr const char* kAssociatedSource = "essay";
inline constexpr const char* kAssociatedDisplay = "常用詞語";

struct AssociatedTables {
  std::vector<AssociatedRow> phrases;
  std::vector<CollectionRow> collections;
};

AssociatedTables build_associated_tables(const FrequencyList& frequencies, CompileReport& report);

}  // namespace ferrolune::model_compiler
