// Finding a channel's link by its attribute, so that no host has to compare
// link names and know how a nested item link's name ends.
#include <cstddef>
#include <string_view>

#include "ontology_item/Aco_QAXOntologyItem.h"
#include "ontology_item/WalkLinks.h"

namespace {

// `name` without the suffix of a nested item link's name.
std::string_view QualifiedNameOfLink(std::string_view name) {
  const std::string_view suffix = qaxoi::module::kComplexLinkSuffix;
  if (name.size() >= suffix.size() && name.substr(name.size() - suffix.size()) == suffix) {
    name.remove_suffix(suffix.size());
  }
  return name;
}

}  // namespace

int Aco_QAXOntologyItem::LinkOfAttribute(std::string_view attribute) const {
  if (attribute.empty()) return -1;
  const std::vector<LinkDescription>& links = GetLinkDescriptions();
  const std::vector<std::string>& iris = GetLinkAttributeIris();
  for (std::size_t link = 0; link < links.size(); ++link) {
    const bool iriMatches = link < iris.size() && iris[link] == attribute;
    if (iriMatches || QualifiedNameOfLink(links[link].second) == attribute) {
      return static_cast<int>(link);
    }
  }
  return -1;
}
