// Validating schema.org postal addresses against the shapes derived from
// schema.org, against loading the same data graph: validation is meant to
// cost at most twice the load.
#include <memory>
#include <string>

#include "bench/Benchmarks.h"
#include "host/qax/model/OntologyModel.h"
#include "host/qax/rdf/Rdf.h"
#include "host/qax/shacl/DerivedShapes.h"
#include "host/qax/shacl/Graph.h"
#include "host/qax/shacl/Validator.h"

namespace qaxoi::bench {

namespace {

namespace shacl = qaxoi::shacl;

constexpr const char* kClass = "http://schema.org/PostalAddress";
// One address in this many breaks its shape: its postal code is an IRI,
// where schema.org's range is Text.
constexpr std::size_t kViolationEvery = 25;

// The shapes schema.org states for PostalAddress, derived once for every
// size; null after setting `error`.
struct DerivedShapes {
  shacl::Graph graph;
  std::unique_ptr<shacl::Shapes> shapes;
  std::string error;
};

const DerivedShapes& PostalAddressShapes() {
  static const std::unique_ptr<DerivedShapes> derived = [] {
    auto made = std::make_unique<DerivedShapes>();
    const std::string path = VocabularyDirectory() + "/schema.nq";
    qaxoi::rdf::LoadedModel loaded;
    const qaxoi::Status load =
        qaxoi::rdf::LoadModelFile(path, qaxoi::rdf::RdfSyntax::kDetect, &loaded);
    const QAX::Ontology::MetaClass* metaClass =
        load.ok() ? loaded.model->GetMetaClass(kClass) : nullptr;
    if (metaClass == nullptr) {
      made->error =
          path + " does not load or has no " + kClass + "; run scripts/fetch-vocabularies.sh";
      return made;
    }
    const std::string turtle = shacl::DerivedShapesTurtle(*loaded.model, {metaClass});
    shacl::GraphLoad graphLoad;
    const qaxoi::Status read = shacl::LoadGraphText(turtle, qaxoi::rdf::RdfSyntax::kTurtle,
                                                    "shapes.ttl", "", made->graph, &graphLoad);
    if (!read.ok()) {
      made->error = "the derived shapes do not load: " + read.message();
      return made;
    }
    made->error = shacl::Shapes::Read(made->graph, &made->shapes).message();
    return made;
  }();
  return *derived;
}

// `count` postal addresses as N-Triples, eight values each, one in
// kViolationEvery with a postal code that is no text. The same text every
// time.
std::string Addresses(std::size_t count) {
  const std::string s = "<http://schema.org/";
  std::string text;
  text.reserve(count * 700);
  for (std::size_t i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    const std::string subject = "<http://example.org/address/" + n + "> ";
    const auto literal = [&](const char* property, const std::string& value) {
      text += subject + s + property + "> \"" + value + "\" .\n";
    };
    text +=
        subject + "<http://www.w3.org/1999/02/22-rdf-syntax-ns#type> " + s + "PostalAddress> .\n";
    literal("name", "Office " + n);
    literal("streetAddress", n + " Main Street");
    literal("addressLocality", "Springfield");
    literal("addressRegion", "Region " + std::to_string(i % 50));
    literal("addressCountry", "US");
    literal("telephone", "+1-555-" + std::to_string(1000000 + i % 9000000));
    literal("email", "office" + n + "@example.org");
    if (i % kViolationEvery == kViolationEvery - 1) {
      text += subject + s + "postalCode> <http://example.org/code/" + n + "> .\n";
    } else {
      literal("postalCode", std::to_string(10000 + i % 90000));
    }
  }
  return text;
}

bool Load(const std::string& text, shacl::Graph& graph, std::string& error) {
  shacl::GraphLoad loaded;
  const qaxoi::Status read = shacl::LoadGraphText(text, qaxoi::rdf::RdfSyntax::kNTriples,
                                                  "addresses.nt", "", graph, &loaded);
  error = read.message();
  return read.ok();
}

}  // namespace

void RegisterValidationBenchmarks(const Plan& plan) {
  for (const std::size_t count : SizesFor<std::size_t>(plan, {10000, 100000})) {
    RegisterPair(
        plan, "Validation.perItem", std::to_string(count), [plan, count](benchmark::State& state) {
          const DerivedShapes& derived = PostalAddressShapes();
          if (!derived.shapes) {
            state.SkipWithError(derived.error.c_str());
            return;
          }
          const std::string text = Addresses(count);
          shacl::Graph data;
          std::string error;
          if (!Load(text, data, error)) {
            state.SkipWithError(error.c_str());
            return;
          }
          // Both sides do their work: every address with a bad postal code
          // is reported.
          const shacl::ValidationReport report = shacl::Validate(data, *derived.shapes);
          if (report.results.size() < count / kViolationEvery) {
            state.SkipWithError(("the report has " + std::to_string(report.results.size()) +
                                 " results, not one per bad postal code")
                                    .c_str());
            return;
          }
          const auto module = [&] {
            benchmark::DoNotOptimize(shacl::Validate(data, *derived.shapes).results.size());
          };
          const auto baseline = [&] {
            shacl::Graph loaded;
            std::string failed;
            benchmark::DoNotOptimize(Load(text, loaded, failed));
          };
          ComparePair(state, plan, module, baseline, static_cast<double>(count));
        });
  }
}

}  // namespace qaxoi::bench
