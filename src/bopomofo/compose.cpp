#include "bopomofo/compose.h"

#include <algorithm>
#include <span>
#include <vector>

#include "bopomofo/layouts.h"

namespace ferrolune::bopomofo {

namespace {

constexpr BopomofoSyllable kMedialI = bopomofo_syllable("ㄧ");
constexpr BopomofoSyllable kMedialV = bopomofo_syllable("ㄩ");
constexpr BopomofoSyllable kFinalEh = bopomofo_syllable("ㄝ");
constexpr unsigned kFinalEng = bopomofo_syllable("ㄥ").final();
constexpr unsigned kFinalEr = bopomofo_syllable("ㄦ").final();
constexpr unsigned kInitialG = bopomofo_syllable("ㄍ").initial();
constexpr unsigned kInitialJ = bopomofo_syllable("ㄐ").initial();

bool is_tone(BopomofoSyllable component) noexcept { return occupancy_mask(component) == kToneMask; }
bool is_medial_or_final(BopomofoSyllable component) noexcept {
  const std::uint16_t mask = occupancy_mask(component);
  return mask == kMedialMask || mask == kFinalMask;
}

// Decides which candidate of a shared key (two or three candidates) the
// key at `i` types; nothing when the key is ignored.
class SharedKeyRules {
 public:
  SharedKeyRules(BopomofoLayout layout, std::span<const char32_t> keys) : layout_(layout), keys_(keys) {
    for (const BopomofoSyllable medial : {kMedialI, kMedialV}) {
      if (const auto key = layout_key_for(layout, medial)) medial_keys_.push_back(*key);
    }
  }

  std::optional<BopomofoSyllable> choose(std::size_t i, std::span<const BopomofoSyllable> candidates,
                                         BopomofoSyllable syllable) const {
    const BopomofoSyllable c0 = candidates[0];
    const BopomofoSyllable c1 = candidates[1];
    const BopomofoSyllable clast = candidates.back();

    if (c0 == kFinalEh || c1 == kFinalEh) {
      const BopomofoSyllable other = c0 == kFinalEh ? c1 : c0;
      return medial_before(i) ? kFinalEh : other;
    }
    if (is_palatal_initial(c0) != is_palatal_initial(c1)) {
      if (syllable.empty()) {
        const BopomofoSyllable palatal = is_palatal_initial(c0) ? c0 : c1;
        const BopomofoSyllable other = is_palatal_initial(c0) ? c1 : c0;
        return medial_after(i) ? palatal : other;
      }
      if (candidates.size() == 3) return clast;
      return std::nullopt;
    }
    if (keys_.size() == 1) {
      if (is_retroflex_or_sibilant_initial(c0) || is_medial_or_final(c0) || is_tone(c1)) return c0;
      if (is_medial_or_final(c1) || is_tone(clast)) return c1;
      return clast;
    }
    const bool tone_follows = tone_may_follow(i);
    const bool class_free = (occupancy_mask(syllable) & occupancy_mask(c0)) == 0;
    if ((class_free && !tone_follows) ||
        (tone_follows && is_retroflex_or_sibilant_initial(c0) && syllable.empty())) {
      return c0;
    }
    return occupancy_mask(syllable) < occupancy_mask(c1) ? c1 : clast;
  }

 private:
  bool is_medial_key(char32_t key) const {
    const std::optional<char> folded = fold_key(key);
    return folded && std::find(medial_keys_.begin(), medial_keys_.end(), *folded) != medial_keys_.end();
  }
  bool medial_before(std::size_t i) const {
    return std::any_of(keys_.begin(), keys_.begin() + static_cast<std::ptrdiff_t>(i),
                       [&](char32_t key) { return is_medial_key(key); });
  }
  bool medial_after(std::size_t i) const {
    return std::any_of(keys_.begin() + static_cast<std::ptrdiff_t>(i) + 1, keys_.end(),
                       [&](char32_t key) { return is_medial_key(key); });
  }
  bool tone_may_follow(std::size_t i) const {
    if (i + 1 == keys_.size()) return true;
    const auto next = layout_components(layout_, keys_[i + 1]);
    return std::any_of(next.begin(), next.end(), is_tone);
  }

  BopomofoLayout layout_;
  std::span<const char32_t> keys_;
  std::vector<char> medial_keys_;
};

// On hsu a lone ㄥ is read as ㄦ, and ㄍ before ㄧ or ㄩ as ㄐ.
BopomofoSyllable finish_hsu(BopomofoSyllable syllable) {
  if (syllable.final() == kFinalEng && !syllable.initial() && !syllable.medial()) {
    return merge_component(syllable, final_component(kFinalEr));
  }
  if (syllable.initial() == kInitialG &&
      (syllable.medial() == kMedialI.medial() || syllable.medial() == kMedialV.medial())) {
    return merge_component(syllable, initial_component(kInitialJ));
  }
  return syllable;
}

}  // namespace

BopomofoSyllable compose_keys(BopomofoLayout layout, std::string_view text) {
  std::vector<char32_t> keys;
  for (std::size_t pos = 0; pos < text.size();) keys.push_back(next_symbol(text, pos));

  const SharedKeyRules rules(layout, keys);
  BopomofoSyllable syllable;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const std::span<const BopomofoSyllable> candidates = layout_components(layout, keys[i]);
    if (candidates.empty()) continue;
    if (candidates.size() == 1) {
      syllable = merge_component(syllable, candidates[0]);
      continue;
    }
    if (const std::optional<BopomofoSyllable> chosen = rules.choose(i, candidates, syllable)) {
      syllable = merge_component(syllable, *chosen);
    }
  }
  return layout == BopomofoLayout::Hsu ? finish_hsu(syllable) : syllable;
}

}  // namespace ferrolune::bopomofo
