#include "tools/qax-host/Languages.h"

#include <cctype>

namespace qaxoi::qax_host {

namespace {

// The longest part of a tag (BCP 47 subtags are 1 to 8 letters or digits).
constexpr std::size_t kLongestPart = 8;

// True for `tag` made of parts of 1 to kLongestPart ASCII letters or digits
// between '-', the first part letters only.
bool IsTag(const std::string& tag) {
  std::size_t partLength = 0;
  bool first = true;
  for (const char c : tag) {
    if (c == '-') {
      if (partLength == 0) return false;
      partLength = 0;
      first = false;
      continue;
    }
    const auto u = static_cast<unsigned char>(c);
    if (!(first ? std::isalpha(u) : std::isalnum(u)) || ++partLength > kLongestPart) return false;
  }
  return partLength != 0;
}

}  // namespace

std::string LocaleLanguageTag(const std::string& locale) {
  std::string tag = locale.substr(0, locale.find_first_of(".@"));
  if (tag == "C" || tag == "POSIX") return std::string();
  for (char& c : tag) {
    c = c == '_' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return IsTag(tag) ? tag : std::string();
}

qaxoi::Status ParseLanguageList(const std::string& list, std::vector<std::string>* tags) {
  std::vector<std::string> read;
  for (std::size_t start = 0;;) {
    const std::size_t comma = list.find(',', start);
    const std::string element =
        list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    const std::string tag = LocaleLanguageTag(element);
    if (tag.empty()) {
      return qaxoi::Status::InvalidArgument("'" + element +
                                            "' is no language tag; give tags such as pt-br,en");
    }
    read.push_back(tag);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  *tags = std::move(read);
  return qaxoi::Status::Ok();
}

std::vector<std::string> EnvironmentLanguages(
    const std::function<const char*(const char*)>& getenv) {
  std::vector<std::string> tags;
  for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = getenv(name);
    if (value == nullptr || *value == '\0') continue;
    const std::string text = value;
    // Only LANGUAGE holds a list; a locale name holds no ':'.
    for (std::size_t start = 0;;) {
      const std::size_t colon = text.find(':', start);
      const std::string tag = LocaleLanguageTag(
          text.substr(start, colon == std::string::npos ? std::string::npos : colon - start));
      if (!tag.empty()) tags.push_back(tag);
      if (colon == std::string::npos) break;
      start = colon + 1;
    }
    break;
  }
  return tags;
}

}  // namespace qaxoi::qax_host
