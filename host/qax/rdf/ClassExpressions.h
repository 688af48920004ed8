// Anonymous class expressions in domains and ranges. Internal to the QAX
// library.
#ifndef QAX_HOST_QAX_RDF_CLASSEXPRESSIONS_H_
#define QAX_HOST_QAX_RDF_CLASSEXPRESSIONS_H_

#include <cstddef>
#include <string>
#include <vector>

#include "host/qax/rdf/RdfStatements.h"

namespace qaxoi::rdf {

// List cells that resolving walks, at most, per statement read (and this
// many more), so that lists sharing long tails cannot cost quadratic time.
inline constexpr std::size_t kListStepsPerStatement = 16;
inline constexpr std::size_t kListStepsBase = 4096;

// Turns each anonymous domain or range of `statements.anonymousUses` that is
// an owl:unionOf (nested unions included, list statements in any order) into
// one domain, or one range of which any holds (kRangeAny), per named class
// in it, and each owl:oneOf range into `statements.enumerations`. Other
// anonymous class expressions (owl:intersectionOf, owl:complementOf,
// owl:oneOf in a domain, restrictions, anything else) are ignored and
// counted: one warning per kind, with its count and one example property.
//
// Then turns each owl:Restriction that a class is a subclass of (directly,
// or as a member of an owl:intersectionOf, nested ones included, in its
// rdfs:subClassOf or owl:equivalentClass) into one record of
// `statements.restrictions`, when it names one declared property and a
// constraint (some, all or has value, a count); an owl:oneOf filler is kept
// in `statements.enumerations`. What else the classes'
// anonymous superclasses hold is counted the same way, one warning per kind
// with one example class.
//
// A malformed list (a cycle of rdf:rest, a cell with two rdf:first, a list
// that never reaches rdf:nil, expressions nested deeper than
// kMaxNestingDepth) makes its whole expression ignored, with a warning. All
// lists together walk at most kListStepsBase plus kListStepsPerStatement per
// statement cells. Warnings start with `sourceName`. Must come before
// statements.Group(), since it adds relations and needs the anonymous nodes.
void ResolveClassExpressions(RdfStatements& statements, const std::string& sourceName,
                             std::vector<std::string>& warnings);

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_CLASSEXPRESSIONS_H_
