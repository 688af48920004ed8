#include "host/qax/store/QueryForm.h"

#include <cctype>
#include <string>

namespace qaxoi::store {

namespace {

void SkipBlanksAndComments(std::string_view text, std::size_t& at) {
  while (at < text.size()) {
    if (std::isspace(static_cast<unsigned char>(text[at])) != 0) {
      ++at;
    } else if (text[at] == '#') {
      while (at < text.size() && text[at] != '\n') ++at;
    } else {
      return;
    }
  }
}

// The word at `at` in upper case (letters only), and `at` after it.
std::string Keyword(std::string_view text, std::size_t& at) {
  std::string word;
  while (at < text.size() && std::isalpha(static_cast<unsigned char>(text[at])) != 0) {
    word.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(text[at]))));
    ++at;
  }
  return word;
}

// Skips past the next '>' (the IRI that ends a declaration).
void SkipPastIri(std::string_view text, std::size_t& at) {
  while (at < text.size() && text[at] != '>') ++at;
  if (at < text.size()) ++at;
}

}  // namespace

bool IsAskQuery(std::string_view query) {
  std::size_t at = 0;
  for (;;) {
    SkipBlanksAndComments(query, at);
    const std::string keyword = Keyword(query, at);
    if (keyword == "BASE" || keyword == "PREFIX") {
      SkipPastIri(query, at);
      continue;
    }
    return keyword == "ASK";
  }
}

}  // namespace qaxoi::store
