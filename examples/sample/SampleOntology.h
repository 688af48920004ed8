// The small ontology that qax-host uses when no --ontology file is given.
#ifndef QAX_EXAMPLES_SAMPLE_SAMPLEONTOLOGY_H_
#define QAX_EXAMPLES_SAMPLE_SAMPLEONTOLOGY_H_

namespace qaxoi::sample {

// A Turtle document with two namespaces ("zoo" and "geo"): the class chain
// zoo:Being > zoo:Animal > zoo:Penguin with attributes of every kind, and the
// class geo:Place that penguins' habitats are.
const char* SampleOntologyTurtle();

// The name under which messages refer to the sample document.
inline constexpr const char* kSampleOntologyName = "sample.ttl";

}  // namespace qaxoi::sample

#endif  // QAX_EXAMPLES_SAMPLE_SAMPLEONTOLOGY_H_
