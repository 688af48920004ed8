#include <string>

#include "bench/Benchmarks.h"
#include "host/qax/rdf/Rdf.h"

namespace qaxoi::bench {

bool LoadsVocabulary(const std::string& path) {
  qaxoi::rdf::LoadedModel loaded;
  return qaxoi::rdf::LoadModelFile(path, qaxoi::rdf::RdfSyntax::kDetect, &loaded).ok();
}

}  // namespace qaxoi::bench
