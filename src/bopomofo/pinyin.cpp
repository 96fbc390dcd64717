#include "bopomofo/pinyin.h"

#include <span>

namespace ferrolune::bopomofo {

namespace {

// A spelling and the Bopomofo it writes.
struct Spelling {
  std::string_view text;
  BopomofoSyllable value;
};

constexpr Spelling spelled(std::string_view text, std::string_view bopomofo) {
  return {text, bopomofo_syllable(bopomofo)};
}

// Only at the very start; sets the prefix medial and the final.
constexpr Spelling kWholeSyllables[] = {
    spelled("yuan", "ㄩㄢ"), spelled("ying", "ㄧㄥ"), spelled("yung", "ㄩㄥ"), spelled("yong", "ㄩㄥ"),
    spelled("yue", "ㄩㄝ"),  spelled("yun", "ㄩㄣ"),  spelled("you", "ㄧㄡ"),  spelled("yu", "ㄩ"),
};

constexpr Spelling kInitials[] = {
    spelled("b", "ㄅ"), spelled("p", "ㄆ"), spelled("m", "ㄇ"), spelled("f", "ㄈ"), spelled("d", "ㄉ"),
    spelled("t", "ㄊ"), spelled("n", "ㄋ"), spelled("l", "ㄌ"), spelled("g", "ㄍ"), spelled("k", "ㄎ"),
    spelled("h", "ㄏ"), spelled("j", "ㄐ"), spelled("q", "ㄑ"), spelled("x", "ㄒ"),
};

constexpr Spelling kApicalInitials[] = {
    spelled("zh", "ㄓ"), spelled("ch", "ㄔ"), spelled("sh", "ㄕ"), spelled("r", "ㄖ"),
    spelled("z", "ㄗ"),  spelled("c", "ㄘ"),  spelled("s", "ㄙ"),
};

// A rhyme's final and the medial it implies. "ung", "ong" and "un" take
// their medial from the initial; they are marked by an empty medial here.
constexpr Spelling kRhymes[] = {
    spelled("veng", "ㄩㄥ"), spelled("iong", "ㄩㄥ"), spelled("ing", "ㄧㄥ"), spelled("ien", "ㄧㄣ"),
    spelled("iou", "ㄧㄡ"),  spelled("uen", "ㄨㄣ"),  spelled("ven", "ㄩㄣ"), spelled("uei", "ㄨㄟ"),
    spelled("ung", "ㄥ"),    spelled("ong", "ㄥ"),    spelled("un", "ㄣ"),    spelled("iu", "ㄧㄡ"),
    spelled("in", "ㄧㄣ"),   spelled("vn", "ㄩㄣ"),   spelled("ui", "ㄨㄟ"),  spelled("ue", "ㄩㄝ"),
    spelled("\u00FC", "ㄩ"),
};

// "e" is absent: its value depends on the medial.
constexpr Spelling kFinals[] = {
    spelled("ang", "ㄤ"), spelled("eng", "ㄥ"), spelled("err", "ㄦ"), spelled("ai", "ㄞ"),
    spelled("ei", "ㄟ"),  spelled("ao", "ㄠ"),  spelled("ou", "ㄡ"),  spelled("an", "ㄢ"),
    spelled("en", "ㄣ"),  spelled("er", "ㄦ"),  spelled("a", "ㄚ"),   spelled("o", "ㄛ"),
};

constexpr unsigned kMedialI = bopomofo_syllable("ㄧ").medial();
constexpr unsigned kMedialU = bopomofo_syllable("ㄨ").medial();
constexpr unsigned kMedialV = bopomofo_syllable("ㄩ").medial();
constexpr unsigned kInitialF = bopomofo_syllable("ㄈ").initial();
constexpr unsigned kFinalE = bopomofo_syllable("ㄝ").final();
constexpr unsigned kFinalEr = bopomofo_syllable("ㄜ").final();

// The first spelling of `table` that starts the rest of the text.
const Spelling* match(std::string_view rest, std::span<const Spelling> table) noexcept {
  for (const Spelling& spelling : table) {
    if (rest.starts_with(spelling.text)) return &spelling;
  }
  return nullptr;
}

class Scanner {
 public:
  explicit Scanner(std::string_view text) : rest_(text) {}

  const Spelling* take(std::span<const Spelling> table) noexcept {
    const Spelling* found = match(rest_, table);
    if (found) rest_.remove_prefix(found->text.size());
    return found;
  }
  bool take(char letter) noexcept {
    if (!rest_.starts_with(letter)) return false;
    rest_.remove_prefix(1);
    return true;
  }
  bool at_end() const noexcept { return rest_.empty(); }
  char peek() const noexcept { return rest_.front(); }

 private:
  std::string_view rest_;
};

bool is_palatal(unsigned initial) noexcept { return is_palatal_initial(initial_component(initial)); }

}  // namespace

BopomofoSyllable parse_pinyin(std::string_view text) noexcept {
  Scanner scan(text);
  unsigned initial = 0;
  unsigned prefix_medial = 0;
  unsigned final_ = 0;
  unsigned tone = 0;
  bool apical = false;

  const Spelling* whole = scan.take(kWholeSyllables);
  if (whole) {
    prefix_medial = whole->value.medial();
    final_ = whole->value.final();
  }

  if (const Spelling* letter = scan.take(kInitials)) {
    initial = letter->value.initial();
  } else if (scan.take('w')) {
    prefix_medial = kMedialU;
  } else if (scan.take('y')) {
    if (!whole) prefix_medial = kMedialI;
  }

  if (const Spelling* apical_initial = scan.take(kApicalInitials)) {
    initial = apical_initial->value.initial();
    apical = true;
  }

  unsigned pending_medial = prefix_medial;
  if (const Spelling* rhyme = scan.take(kRhymes)) {
    if (rhyme->value.final()) final_ = rhyme->value.final();
    pending_medial = rhyme->value.medial();
    if (rhyme->text == "ung" || rhyme->text == "ong") {
      pending_medial = initial == kInitialF ? 0 : kMedialU;
    } else if (rhyme->text == "un") {
      pending_medial = is_palatal(initial) ? kMedialV : kMedialU;
    }
  }

  unsigned medial = pending_medial;
  bool medial_set = false;
  if (scan.take('i')) {
    medial = apical ? 0 : kMedialI;
    medial_set = !apical;
  } else if (scan.take('u')) {
    medial = is_palatal(initial) ? kMedialV : kMedialU;
    medial_set = true;
  } else if (scan.take('v')) {
    medial = kMedialV;
    medial_set = true;
  } else {
    medial_set = pending_medial != 0;
  }

  if (const Spelling* final_spelling = scan.take(kFinals)) {
    final_ = final_spelling->value.final();
  } else if (scan.take('e')) {
    final_ = medial_set ? kFinalE : kFinalEr;
  }

  if (!scan.at_end()) {
    const char digit = scan.peek();
    if (digit >= '2' && digit <= '5') tone = static_cast<unsigned>(digit - '1');
  }
  return BopomofoSyllable::from_fields(initial, medial, final_, tone);
}

}  // namespace ferrolune::bopomofo
