// The languages a qax-host user reads: --lang's list, else the locale the
// environment names.
#ifndef QAX_TOOLS_QAX_HOST_LANGUAGES_H_
#define QAX_TOOLS_QAX_HOST_LANGUAGES_H_

#include <functional>
#include <string>
#include <vector>

#include "host/status/Status.h"

namespace qaxoi::qax_host {

// The BCP 47 tag of a locale name, in lower case with '-' between its parts:
// "pt_BR.UTF-8" gives "pt-br", "sr_RS@latin" gives "sr-rs", "de" gives "de".
// Empty for "C", "POSIX", "" and anything that is no tag after the codeset
// and modifier are cut (letters and digits in parts of 1 to 8, a letter
// first).
std::string LocaleLanguageTag(const std::string& locale);

// Reads --lang's value, tags separated by ',' ("pt-BR,en"), each as
// LocaleLanguageTag reads it, into `tags` in order. Fails with
// kInvalidArgument, leaving `tags` as it was, for an element that is no tag
// (an empty one included): "'x y' is no language tag; give tags such as
// pt-br,en".
qaxoi::Status ParseLanguageList(const std::string& list, std::vector<std::string>* tags);

// The languages the environment asks for, `getenv` reading a variable (null:
// unset): LANGUAGE's list (separated by ':'), else LC_ALL, else
// LC_MESSAGES, else LANG, the first that is set and not empty deciding. Its
// elements that are no tag ("C", "POSIX") are passed over, so LANG=C asks
// for none.
std::vector<std::string> EnvironmentLanguages(
    const std::function<const char*(const char*)>& getenv);

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_LANGUAGES_H_
