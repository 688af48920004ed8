#include "tools/qax-host/MissingClass.h"

#include <unistd.h>

#include <algorithm>
#include <map>
#include <vector>

#include "host/files/InputFile.h"

namespace qaxoi::qax_host {

namespace {

// The index's statements that name a vocabulary's namespace and its file.
constexpr const char* kNamespacePredicate = "<http://www.w3.org/ns/rdfa#uri>";
constexpr const char* kFilePredicate = "<http://dbpedia.org/ontology/filename>";

struct KnownVocabulary {
  std::string ns;
  std::string file;  // the file's name in the folder
};

// The text between the first and last byte of `token` when they are `open`
// and `close`; "" otherwise.
std::string Inside(const std::string& token, char open, char close) {
  if (token.size() < 2 || token.front() != open || token.back() != close) return std::string();
  return token.substr(1, token.size() - 2);
}

// The vocabularies that `folder`'s index names, read in one pass over its
// lines; none when there is no readable index of at most
// kMaxVocabularyIndexBytes.
std::vector<KnownVocabulary> ReadIndex(const std::string& folder) {
  std::string bytes;
  if (folder.empty() ||
      !qaxoi::files::ReadInputFile(folder + "/_index.nq", &bytes, kMaxVocabularyIndexBytes).ok()) {
    return {};
  }
  std::map<std::string, KnownVocabulary> bySubject;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    // subject, predicate and object: the first three blank-separated tokens.
    std::string tokens[3];
    std::size_t at = start;
    for (std::string& token : tokens) {
      const std::size_t blank = bytes.find(' ', at);
      const std::size_t stop = blank == std::string::npos || blank > end ? end : blank;
      token = bytes.substr(at, stop - at);
      at = stop < end ? stop + 1 : end;
    }
    if (tokens[1] == kNamespacePredicate) {
      bySubject[tokens[0]].ns = Inside(tokens[2], '<', '>');
    } else if (tokens[1] == kFilePredicate) {
      const std::string path = Inside(tokens[2], '"', '"');
      bySubject[tokens[0]].file = path.substr(path.rfind('/') + 1);
    }
    start = end + 1;
  }
  std::vector<KnownVocabulary> known;
  for (auto& entry : bySubject) {
    if (!entry.second.ns.empty() && !entry.second.file.empty()) known.push_back(entry.second);
  }
  return known;
}

// ReadIndex(folder), read once per folder and process: a group may hold many
// channels of missing classes.
const std::vector<KnownVocabulary>& KnownVocabularies(const std::string& folder) {
  static std::map<std::string, std::vector<KnownVocabulary>> read;
  const auto found = read.find(folder);
  if (found != read.end()) return found->second;
  return read.emplace(folder, ReadIndex(folder)).first->second;
}

// The known vocabulary of the longest namespace that starts `iri`; null for
// none.
const KnownVocabulary* VocabularyOf(const std::string& iri,
                                    const std::vector<KnownVocabulary>& known) {
  const KnownVocabulary* best = nullptr;
  for (const KnownVocabulary& vocabulary : known) {
    if (iri.compare(0, vocabulary.ns.size(), vocabulary.ns) == 0 &&
        (best == nullptr || vocabulary.ns.size() > best->ns.size())) {
      best = &vocabulary;
    }
  }
  return best;
}

std::string NamespaceOf(const std::string& iri, const KnownVocabulary* vocabulary) {
  if (vocabulary != nullptr) return vocabulary->ns;
  const std::size_t end = iri.find_last_of("#/");
  return end == std::string::npos ? iri : iri.substr(0, end + 1);
}

}  // namespace

std::string MissingClassReason(const std::string& iri, const QAX::Ontology::OntologyModel& model,
                               const std::string& vocabularyFolder) {
  const std::vector<KnownVocabulary>& known = KnownVocabularies(vocabularyFolder);
  const KnownVocabulary* vocabulary = VocabularyOf(iri, known);
  const std::string ns = NamespaceOf(iri, vocabulary);
  const std::string missing = "the ontology has no class <" + iri + ">";
  const auto& libraries = model.GetLibraries();
  if (std::any_of(libraries.begin(), libraries.end(), [&](const auto* library) {
        return model.GetNamespace(library->GetName()) == ns;
      })) {
    return missing + ", though it has classes of its namespace <" + ns + ">";
  }
  if (vocabulary != nullptr) {
    const std::string path = vocabularyFolder + "/" + vocabulary->file;
    if (::access(path.c_str(), R_OK) == 0) {
      return missing + " (namespace <" + ns + ">): --ontology " + path +
             " loads the vocabulary of that namespace";
    }
  }
  return missing + " (namespace <" + ns +
         ">): load a vocabulary of that namespace with --ontology FILE";
}

}  // namespace qaxoi::qax_host
