#include "host/qax/model/LanguagePreference.h"

#include <cctype>
#include <string_view>

namespace QAX {
namespace Ontology {

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// True when `language` (lower case) is `tag` in any letter case.
bool SameTag(std::string_view language, std::string_view tag) {
  if (language.size() != tag.size()) return false;
  for (std::size_t i = 0; i < tag.size(); ++i) {
    if (language[i] != Lower(tag[i])) return false;
  }
  return true;
}

// True when `language` (lower case) is `tag` followed by '-' and more.
bool UnderTag(std::string_view language, std::string_view tag) {
  return language.size() > tag.size() && language[tag.size()] == '-' &&
         SameTag(language.substr(0, tag.size()), tag);
}

// The least of `texts` for which `takes` holds: by language, then text.
template <typename Takes>
const LangText* Least(const std::vector<LangText>& texts, Takes takes) {
  const LangText* best = nullptr;
  for (const LangText& text : texts) {
    if (!takes(text.language)) continue;
    if (best == nullptr || text.language < best->language ||
        (text.language == best->language && text.text < best->text)) {
      best = &text;
    }
  }
  return best;
}

constexpr std::string_view kEnglish = "en";

}  // namespace

const LangText* ChooseText(const std::vector<LangText>& texts,
                           const LanguagePreference& preference) {
  if (texts.empty()) return nullptr;
  for (const std::string& tag : preference.tags) {
    if (tag.empty()) continue;
    const auto exactly = [&tag](std::string_view language) { return SameTag(language, tag); };
    const auto under = [&tag](std::string_view language) { return UnderTag(language, tag); };
    if (const LangText* found = Least(texts, exactly)) return found;
    if (const LangText* found = Least(texts, under)) return found;
    // "pt-br" falls back to "pt" before the next tag: a reader of Brazilian
    // Portuguese reads Portuguese.
    for (std::string_view shorter = tag; shorter.rfind('-') != std::string_view::npos;) {
      shorter = shorter.substr(0, shorter.rfind('-'));
      const auto broader = [shorter](std::string_view language) {
        return SameTag(language, shorter);
      };
      if (const LangText* found = Least(texts, broader)) return found;
    }
  }
  if (const LangText* plain =
          Least(texts, [](std::string_view language) { return language.empty(); })) {
    return plain;
  }
  if (const LangText* english = Least(texts, [](std::string_view language) {
        return SameTag(language, kEnglish) || UnderTag(language, kEnglish);
      })) {
    return english;
  }
  return Least(texts, [](std::string_view) { return true; });
}

}  // namespace Ontology
}  // namespace QAX
