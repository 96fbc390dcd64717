// The rows of a compiled model, table by table, in the order they are
// written. Row order is meaningful to the engine (it reads every table in
// rowid order, and that order is the order of candidates), so each builder
// fixes it completely: the same inputs always give the same rows in the
// same order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ferrolune::model_compiler {

struct UnigramRow {
  std::string qstring;
  std::string current;
  double probability = 0;
  double backoff = 0;
};

struct KeyValueRow {
  std::string key;
  std::string value;
};

struct AssociatedRow {
  std::string headchar;
  std::string data;  // continuations separated by ","
  std::string source;
};

struct CollectionRow {
  std::string source;
  std::string display;
  std::int64_t sortorder = 0;
};

struct ModelContent {
  std::vector<UnigramRow> unigrams;
  // There are no word-pair statistics in the open data yet, so the
  // bigrams table is written empty.
  std::vector<KeyValueRow> phonetic;    // "Mandarin-bpmf-cin"
  std::vector<KeyValueRow> cangjie;     // "Generic-cj-cin"
  std::vector<KeyValueRow> simplex;     // "Generic-simplex-cin"
  std::vector<KeyValueRow> halfwidth;   // "Punctuations-cj-halfwidth-cin"
  std::vector<KeyValueRow> mixedwidth;  // "Punctuations-cj-mixedwidth-cin"
  std::vector<AssociatedRow> associated;
  std::vector<CollectionRow> collections;
  std::vector<KeyValueRow> info;        // model_info: sources and licences
};

}  // namespace ferrolune::model_compiler
