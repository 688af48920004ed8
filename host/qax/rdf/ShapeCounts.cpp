#include "host/qax/rdf/ShapeCounts.h"

#include <algorithm>
#include <utility>

namespace qaxoi::rdf {

void ResolveShapeCounts(RdfStatements& statements) {
  if (statements.shapeUses.empty()) return;
  std::vector<std::pair<TermId, TermId>>& targets = statements.shapeTargets;
  std::sort(targets.begin(), targets.end());
  targets.erase(std::unique(targets.begin(), targets.end()), targets.end());
  const auto add = [&statements](TermId cls, TermId property, uint32_t max) {
    statements.shapeCounts.push_back(RdfStatements::ShapeCount{cls, property, max});
    return statements.Budget().Charge(2 * sizeof(RdfStatements::ShapeCount));
  };
  for (const RdfStatements::ShapeUse& use : statements.shapeUses) {
    const ExpressionFacts* facts = statements.FindExpression(use.node);
    // One IRI path and a maximum: a property shape that limits a property.
    if (facts == nullptr || facts->properties != 1 || facts->property.kind != NodeRef::Kind::kIri ||
        facts->max == ExpressionFacts::kUnbounded) {
      continue;
    }
    const TermId property = facts->property.id;
    if (statements.IsClass(use.shape) && statements.IsNodeShape(use.shape) &&
        !add(use.shape, property, facts->max)) {
      return;
    }
    const auto first =
        std::lower_bound(targets.begin(), targets.end(), std::pair<TermId, TermId>(use.shape, 0));
    for (auto at = first; at != targets.end() && at->first == use.shape; ++at) {
      if (!add(at->second, property, facts->max)) return;
    }
  }
}

}  // namespace qaxoi::rdf
