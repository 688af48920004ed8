#include <string>

#include "bench/Benchmarks.h"
#include "host/qax/rdf/Rdf.h"

namespace qax_bench {

bool LoadsVocabulary(const std::string& path) {
  QAX::Ontology::LoadedModel loaded;
  return QAX::Ontology::LoadModelFile(path, QAX::Ontology::RdfSyntax::kDetect, &loaded).ok();
}

}  // namespace qax_bench
