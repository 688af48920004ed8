// Saying which vocabulary would give a class that the ontology lacks.
#ifndef QAX_TOOLS_QAX_HOST_MISSINGCLASS_H_
#define QAX_TOOLS_QAX_HOST_MISSINGCLASS_H_

#include <cstddef>
#include <string>

#include "host/qax/model/QAX.h"

namespace qaxoi::qax_host {

// The most bytes read of the known vocabularies' index: the fetched one
// holds about 100 kB.
inline constexpr std::size_t kMaxVocabularyIndexBytes = std::size_t{4} << 20;

// Why `model` builds no item of the class `iri`, and what would help, for a
// message. The class's namespace is the longest namespace of a known
// vocabulary that starts the IRI, else the IRI up to its last '#' or '/'.
// Answers "the ontology has no class <IRI> (namespace <NS>): --ontology
// PATH loads the vocabulary of that namespace" when `vocabularyFolder`
// holds one (its _index.nq names them: the package that
// scripts/fetch-vocabularies.sh fetches), "... load a vocabulary of that
// namespace with --ontology FILE" otherwise, and "..., though it has classes
// of its namespace <NS>" when the model has a library of it. The index is
// read once per folder and run; a missing, unreadable or oversized one is
// as if it named no vocabulary.
std::string MissingClassReason(const std::string& iri, const QAX::Ontology::OntologyModel& model,
                               const std::string& vocabularyFolder);

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_MISSINGCLASS_H_
