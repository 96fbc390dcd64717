// The strict typed JSON reader behind every request document.
//
// RapidJSON's SAX parser (iterative, so deep nesting cannot exhaust the
// stack) turns the text into a list of tokens, each with its end offset; a
// syntax error becomes a final error token. The reader pulls from that
// list: callers ask for the value
// they expect (a bool, an index, a record with a fixed list of fields, an
// enumeration spelling) and the reader refuses anything else. Refusals are
// sticky: the first problem is kept with its line and column, every later
// call returns a default value, and the caller checks `ok()` once at the
// end. Descriptions are written for a programmer at a terminal, for example
// "unknown field `meta`, expected one of `shift`, `control` at line 1
// column 31".
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ferrolune::ffi::json {

enum class TokenKind {
  Null,
  Bool,
  Unsigned,  // a non-negative integer that fits 64 bits
  Signed,    // a negative integer that fits 64 bits
  Double,    // any other number
  String,
  Key,
  StartObject,
  EndObject,
  StartArray,
  EndArray,
  End,  // the document is complete
  Error,  // a syntax error; `text` holds RapidJSON's description
};

struct Token {
  TokenKind kind = TokenKind::End;
  bool boolean = false;
  std::uint64_t unsigned_value = 0;
  std::int64_t signed_value = 0;
  double double_value = 0;
  std::string text;         // String and Key
  std::size_t offset = 0;   // byte offset of the token's first character
};

// A set of field indexes seen in one object (records have at most 64 fields).
using FieldSet = std::uint64_t;

// One spelling of an enumeration and the ordinal it stands for.
struct Spelling {
  std::string_view text;
  int value;
};

class Reader {
 public:
  explicit Reader(std::string_view text);
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  bool ok() const noexcept { return error_.empty(); }
  // The first problem, with " at line L column C".
  const std::string& error() const noexcept { return error_; }

  // Records a problem at the position of the last token read (first one wins).
  void fail(std::string description);

  const Token& peek();
  Token next();

  // Consumes a JSON null if one comes next; for "null means absent" members.
  bool take_null();
  // Skips one whole value.
  void skip_value();

  bool read_bool(std::string_view what);
  std::string read_string(std::string_view what);
  // A string of exactly one character (scalar).
  std::string read_char(std::string_view what);
  // An integer 0 ..= 2^64-1.
  std::uint64_t read_index(std::string_view what);
  // An integer that fits a signed 32-bit value.
  std::int32_t read_delta(std::string_view what);
  // An integer 0 ..= 2^32-1 (counts in option records).
  std::uint32_t read_u32(std::string_view what);
  // An integer that fits a signed 64-bit value.
  std::int64_t read_i64(std::string_view what);
  // Any JSON number, as a double.
  double read_number(std::string_view what);

  // A string naming one of `spellings`; returns its value (or the first
  // spelling's value after a failure). The description of a refusal lists
  // the distinct values' first spellings.
  int read_enum(std::string_view what, std::span<const Spelling> spellings);

  // Reads an object whose members must be among `fields`. For each member,
  // calls `on_field(index)`, which must read exactly one value. Unknown and
  // duplicate members are refused; with `ignore_unknown`, unknown members
  // are skipped instead. Returns the set of fields seen.
  template <class OnField>
  FieldSet read_object(std::string_view what, std::span<const std::string_view> fields,
                       OnField&& on_field, bool ignore_unknown = false);

  // Refuses a missing member: every field in `required` must be in `seen`.
  void require(FieldSet seen, FieldSet required, std::span<const std::string_view> fields);

  // Reads an array, calling `on_element(index)` for each element, which
  // must read exactly one value.
  template <class OnElement>
  void read_array(std::string_view what, OnElement&& on_element);

  // After the root value: anything but the end of the document is refused.
  void finish();

  // Whether the next token starts the given kind (without consuming it).
  bool next_is(TokenKind kind) { return peek().kind == kind; }

  // Names for messages.
  static std::string describe(const Token& token);
  static std::string list_names(std::span<const std::string_view> names);

 private:
  bool begin_object(std::string_view what);
  // Next member key, or nullopt at the end of the object.
  std::optional<std::string> next_key();
  bool begin_array(std::string_view what);
  bool at_array_end();
  void fail_unexpected(const Token& token, std::string_view expected);
  std::string position(std::size_t offset) const;

  std::string_view text_;
  std::vector<Token> tokens_;
  std::size_t cursor_ = 0;
  std::size_t last_offset_ = 0;
  std::string error_;
};

template <class OnField>
FieldSet Reader::read_object(std::string_view what, std::span<const std::string_view> fields,
                             OnField&& on_field, bool ignore_unknown) {
  FieldSet seen = 0;
  if (!begin_object(what)) return seen;
  while (ok()) {
    auto key = next_key();
    if (!key) break;
    std::size_t index = 0;
    while (index < fields.size() && fields[index] != *key) ++index;
    if (index == fields.size()) {
      if (ignore_unknown) {
        skip_value();
        continue;
      }
      fail("unknown field `" + *key + "`, expected " + list_names(fields));
      break;
    }
    const FieldSet bit = FieldSet{1} << index;
    if (seen & bit) {
      fail("duplicate field `" + *key + "`");
      break;
    }
    seen |= bit;
    on_field(index);
  }
  return seen;
}

template <class OnElement>
void Reader::read_array(std::string_view what, OnElement&& on_element) {
  if (!begin_array(what)) return;
  std::size_t index = 0;
  while (ok() && !at_array_end()) on_element(index++);
}

}  // namespace ferrolune::ffi::json
