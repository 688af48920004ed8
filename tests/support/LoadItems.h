// The items of a store load: groups of people with nested places and
// regions (blank nodes two deep), literals of several datatypes, and texts
// with non-ASCII letters, quotes and line breaks. Shared by the store's load
// test and its benchmark, so both publish the same data.
#ifndef QAX_TESTS_SUPPORT_LOADITEMS_H_
#define QAX_TESTS_SUPPORT_LOADITEMS_H_

#include <memory>
#include <string>
#include <vector>

#include "host/qax/rdf/Rdf.h"

namespace qaxoi::test {

// The vocabulary the items are of, as Turtle: ex:Person (name, alive, age,
// height, score, born, nick list, home) and its nested ex:Place (label,
// within an ex:Region).
const std::string& LoadVocabulary();

// One group of items and the subjects to write them under.
struct LoadGroup {
  std::vector<std::unique_ptr<QAX::Onto::OntologyItem>> items;
  // One per item, pointing into `items`: every tenth a blank node, the
  // others an IRI under `subjectBase`.
  std::vector<qaxoi::rdf::ItemSubject> subjects;
};

// `count` items whose texts differ with `variant`, so that two groups of
// different variants are different graphs. Subjects are
// "<subjectBase><n>".
LoadGroup MakeLoadGroup(const std::string& subjectBase, int count, int variant);

}  // namespace qaxoi::test

#endif  // QAX_TESTS_SUPPORT_LOADITEMS_H_
