#include "ffi/json/reader.h"

#include <rapidjson/error/en.h>
#include <rapidjson/reader.h>

#include <algorithm>
#include <cctype>
#include <limits>

#include "base/utf8.h"

namespace ferrolune::ffi::json {

namespace {

// Records every SAX event as a token with the offset just past it.
class Tokenizer {
 public:
  Tokenizer(std::vector<Token>& tokens, const rapidjson::StringStream& stream)
      : tokens_(tokens), stream_(stream) {}

  bool Null() { return mark(TokenKind::Null, 4); }
  bool Bool(bool value) {
    push(TokenKind::Bool, value ? 4 : 5).boolean = value;
    return true;
  }
  bool Int(int value) { return signed_number(value); }
  bool Uint(unsigned value) { return unsigned_number(value); }
  bool Int64(std::int64_t value) { return signed_number(value); }
  bool Uint64(std::uint64_t value) { return unsigned_number(value); }
  bool Double(double value) {
    push(TokenKind::Double).double_value = value;
    return true;
  }
  bool RawNumber(const char*, rapidjson::SizeType, bool) { return false; }
  bool String(const char* text, rapidjson::SizeType length, bool) {
    push(TokenKind::String).text.assign(text, length);
    return true;
  }
  bool Key(const char* text, rapidjson::SizeType length, bool) {
    push(TokenKind::Key).text.assign(text, length);
    return true;
  }
  bool StartObject() { return mark(TokenKind::StartObject, 0); }
  bool EndObject(rapidjson::SizeType) { return mark(TokenKind::EndObject, 0); }
  bool StartArray() { return mark(TokenKind::StartArray, 0); }
  bool EndArray(rapidjson::SizeType) { return mark(TokenKind::EndArray, 0); }

 private:
  bool mark(TokenKind kind, std::size_t consumed) {
    push(kind, consumed);
    return true;
  }
  // RapidJSON reports literals after consuming them from the stream, but
  // brackets before, and strings and numbers from a local copy of it before
  // the stream has moved: `consumed` is how far the stream is past the
  // token's start.
  Token& push(TokenKind kind, std::size_t consumed = 0) {
    Token& token = tokens_.emplace_back();
    token.kind = kind;
    token.offset = stream_.Tell() - consumed;
    return token;
  }
  bool signed_number(std::int64_t value) {
    if (value >= 0) return unsigned_number(static_cast<std::uint64_t>(value));
    push(TokenKind::Signed).signed_value = value;
    return true;
  }
  bool unsigned_number(std::uint64_t value) {
    push(TokenKind::Unsigned).unsigned_value = value;
    return true;
  }

  std::vector<Token>& tokens_;
  const rapidjson::StringStream& stream_;
};

// Not kParseFullPrecisionFlag: RapidJSON 1.1.0's full-precision path reads
// past its power table for numbers with huge exponents (found by fuzzing).
constexpr unsigned kParseFlags = rapidjson::kParseIterativeFlag |
                                 rapidjson::kParseValidateEncodingFlag;

}  // namespace

Reader::Reader(std::string_view text) : text_(text) {
  // RapidJSON reads up to a NUL; the frame has already refused embedded
  // NULs, and the copy gives the terminator.
  const std::string copy(text);
  rapidjson::StringStream stream(copy.c_str());
  Tokenizer tokenizer(tokens_, stream);
  rapidjson::Reader parser;
  const rapidjson::ParseResult result = parser.Parse<kParseFlags>(stream, tokenizer);
  Token& last = tokens_.emplace_back();
  if (result.IsError()) {
    last.kind = TokenKind::Error;
    last.text = rapidjson::GetParseError_En(result.Code());
    last.offset = result.Offset();
  } else {
    last.kind = TokenKind::End;
    last.offset = text.size();
  }
}

std::string Reader::position(std::size_t offset) const {
  std::size_t line = 1;
  std::size_t line_start = 0;
  const std::size_t end = std::min(offset, text_.size());
  for (std::size_t i = 0; i < end; ++i) {
    if (text_[i] == '\n') {
      ++line;
      line_start = i + 1;
    }
  }
  // The column of the token's first character, counted in characters.
  const std::size_t column = base::scalar_count(text_.substr(line_start, end - line_start)) + 1;
  return " at line " + std::to_string(line) + " column " + std::to_string(column);
}

void Reader::fail(std::string description) {
  if (!ok()) return;
  error_ = std::move(description) + position(last_offset_);
}

const Token& Reader::peek() {
  const Token& token = tokens_[cursor_];
  if (token.kind == TokenKind::Error && ok()) {
    // A syntax error is reported where it stands, as the parser words it
    // (lower-cased, without the final full stop).
    std::string text = token.text;
    if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    if (!text.empty() && text.back() == '.') text.pop_back();
    error_ = "syntax error: " + text + position(token.offset);
  }
  return token;
}

Token Reader::next() {
  const Token& token = peek();
  if (!ok()) {
    Token error;
    error.kind = TokenKind::Error;
    return error;
  }
  last_offset_ = token.offset;
  if (token.kind != TokenKind::End && token.kind != TokenKind::Error) ++cursor_;
  return token;
}

std::string Reader::describe(const Token& token) {
  switch (token.kind) {
    case TokenKind::Null: return "null";
    case TokenKind::Bool: return token.boolean ? "boolean `true`" : "boolean `false`";
    case TokenKind::Unsigned: return "integer `" + std::to_string(token.unsigned_value) + "`";
    case TokenKind::Signed: return "integer `" + std::to_string(token.signed_value) + "`";
    case TokenKind::Double: return "floating point number";
    case TokenKind::String: return "string \"" + token.text + "\"";
    case TokenKind::Key: return "member \"" + token.text + "\"";
    case TokenKind::StartObject: return "an object";
    case TokenKind::EndObject: return "the end of an object";
    case TokenKind::StartArray: return "an array";
    case TokenKind::EndArray: return "the end of an array";
    case TokenKind::End: return "the end of the document";
    case TokenKind::Error: return "a syntax error";
  }
  return "a value";
}

std::string Reader::list_names(std::span<const std::string_view> names) {
  if (names.empty()) return "no fields";
  std::string text = names.size() == 1 ? "`" : "one of `";
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += "`, `";
    text += names[i];
  }
  text += "`";
  return text;
}

void Reader::fail_unexpected(const Token& token, std::string_view expected) {
  if (!ok()) return;
  fail("invalid type: " + describe(token) + ", expected " + std::string(expected));
}

bool Reader::take_null() {
  if (peek().kind != TokenKind::Null || !ok()) return false;
  next();
  return true;
}

void Reader::skip_value() {
  std::size_t depth = 0;
  do {
    const Token token = next();
    if (!ok()) return;
    switch (token.kind) {
      case TokenKind::StartObject:
      case TokenKind::StartArray: ++depth; break;
      case TokenKind::EndObject:
      case TokenKind::EndArray:
        if (depth == 0) {
          fail("expected a value");
          return;
        }
        --depth;
        break;
      case TokenKind::End:
        fail("unexpected end of the document");
        return;
      default: break;
    }
  } while (depth > 0);
}

bool Reader::read_bool(std::string_view what) {
  const Token token = next();
  if (!ok()) return false;
  if (token.kind != TokenKind::Bool) {
    fail_unexpected(token, "a boolean for " + std::string(what));
    return false;
  }
  return token.boolean;
}

std::string Reader::read_string(std::string_view what) {
  Token token = next();
  if (!ok()) return {};
  if (token.kind != TokenKind::String) {
    fail_unexpected(token, "a string for " + std::string(what));
    return {};
  }
  return std::move(token.text);
}

std::string Reader::read_char(std::string_view what) {
  Token token = next();
  if (!ok()) return {};
  if (token.kind != TokenKind::String || base::scalar_count(token.text) != 1) {
    fail_unexpected(token, "a one-character string for " + std::string(what));
    return {};
  }
  return std::move(token.text);
}

std::uint64_t Reader::read_index(std::string_view what) {
  const Token token = next();
  if (!ok()) return 0;
  if (token.kind != TokenKind::Unsigned) {
    fail_unexpected(token, "a non-negative integer for " + std::string(what));
    return 0;
  }
  return token.unsigned_value;
}

std::int32_t Reader::read_delta(std::string_view what) {
  const Token token = next();
  if (!ok()) return 0;
  constexpr auto lo = std::numeric_limits<std::int32_t>::min();
  constexpr auto hi = std::numeric_limits<std::int32_t>::max();
  if (token.kind == TokenKind::Unsigned && token.unsigned_value <= static_cast<std::uint64_t>(hi)) {
    return static_cast<std::int32_t>(token.unsigned_value);
  }
  if (token.kind == TokenKind::Signed && token.signed_value >= lo) {
    return static_cast<std::int32_t>(token.signed_value);
  }
  if (token.kind == TokenKind::Unsigned || token.kind == TokenKind::Signed) {
    fail("invalid value: " + describe(token) + ", expected a signed 32-bit integer for " +
         std::string(what));
  } else {
    fail_unexpected(token, "a signed 32-bit integer for " + std::string(what));
  }
  return 0;
}

std::uint32_t Reader::read_u32(std::string_view what) {
  const Token token = next();
  if (!ok()) return 0;
  if (token.kind == TokenKind::Unsigned &&
      token.unsigned_value <= std::numeric_limits<std::uint32_t>::max()) {
    return static_cast<std::uint32_t>(token.unsigned_value);
  }
  if (token.kind == TokenKind::Unsigned || token.kind == TokenKind::Signed) {
    fail("invalid value: " + describe(token) + ", expected an unsigned 32-bit integer for " +
         std::string(what));
  } else {
    fail_unexpected(token, "an unsigned integer for " + std::string(what));
  }
  return 0;
}

std::int64_t Reader::read_i64(std::string_view what) {
  const Token token = next();
  if (!ok()) return 0;
  if (token.kind == TokenKind::Signed) return token.signed_value;
  if (token.kind == TokenKind::Unsigned &&
      token.unsigned_value <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
    return static_cast<std::int64_t>(token.unsigned_value);
  }
  if (token.kind == TokenKind::Unsigned) {
    fail("invalid value: " + describe(token) + ", expected a signed 64-bit integer for " +
         std::string(what));
  } else {
    fail_unexpected(token, "an integer for " + std::string(what));
  }
  return 0;
}

double Reader::read_number(std::string_view what) {
  const Token token = next();
  if (!ok()) return 0;
  switch (token.kind) {
    case TokenKind::Unsigned: return static_cast<double>(token.unsigned_value);
    case TokenKind::Signed: return static_cast<double>(token.signed_value);
    case TokenKind::Double: return token.double_value;
    default: fail_unexpected(token, "a number for " + std::string(what)); return 0;
  }
}

int Reader::read_enum(std::string_view what, std::span<const Spelling> spellings) {
  const Token token = next();
  const int fallback = spellings.empty() ? 0 : spellings.front().value;
  if (!ok()) return fallback;
  if (token.kind != TokenKind::String) {
    fail_unexpected(token, "a string for " + std::string(what));
    return fallback;
  }
  for (const Spelling& spelling : spellings) {
    if (spelling.text == token.text) return spelling.value;
  }
  // Name each value by its first spelling.
  std::vector<std::string_view> names;
  for (std::size_t i = 0; i < spellings.size(); ++i) {
    bool first = true;
    for (std::size_t j = 0; j < i; ++j) first = first && spellings[j].value != spellings[i].value;
    if (first) names.push_back(spellings[i].text);
  }
  fail("unknown variant `" + token.text + "` for " + std::string(what) + ", expected " +
       list_names(names));
  return fallback;
}

bool Reader::begin_object(std::string_view what) {
  const Token token = next();
  if (!ok()) return false;
  if (token.kind != TokenKind::StartObject) {
    fail_unexpected(token, "an object for " + std::string(what));
    return false;
  }
  return true;
}

std::optional<std::string> Reader::next_key() {
  Token token = next();
  if (!ok()) return std::nullopt;
  if (token.kind == TokenKind::EndObject) return std::nullopt;
  if (token.kind != TokenKind::Key) {
    fail_unexpected(token, "a member name");
    return std::nullopt;
  }
  return std::move(token.text);
}

void Reader::require(FieldSet seen, FieldSet required, std::span<const std::string_view> fields) {
  if (!ok()) return;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const FieldSet bit = FieldSet{1} << i;
    if ((required & bit) && !(seen & bit)) {
      fail("missing field `" + std::string(fields[i]) + "`");
      return;
    }
  }
}

bool Reader::begin_array(std::string_view what) {
  const Token token = next();
  if (!ok()) return false;
  if (token.kind != TokenKind::StartArray) {
    fail_unexpected(token, "an array for " + std::string(what));
    return false;
  }
  return true;
}

bool Reader::at_array_end() {
  const Token& token = peek();
  if (!ok()) return true;
  if (token.kind == TokenKind::EndArray) {
    next();
    return true;
  }
  return false;
}

void Reader::finish() {
  const Token token = next();
  if (!ok()) return;
  if (token.kind != TokenKind::End) fail("trailing content after the document");
}

}  // namespace ferrolune::ffi::json
