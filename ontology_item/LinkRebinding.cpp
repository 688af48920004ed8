// Binding a loaded channel's saved links to the attributes of its class, as
// the loaded model has them now.
#include <algorithm>
#include <utility>

#include "module/Diagnostics.h"
#include "ontology_item/Aco_QAXOntologyItem.h"
#include "ontology_item/LinkBinding.h"
#include "ontology_item/WalkLinks.h"

namespace {

QAX::Ontology::OntologyModel* CurrentModel() {
  return QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance().GetOntologyModel();
}

}  // namespace

void Aco_QAXOntologyItem::BindLoadedLinks(std::vector<std::string> savedIris, bool bind) {
  _identity = LinkIdentity();
  _identity.iris = std::move(savedIris);
  const QAX::Ontology::OntologyModel* model = CurrentModel();
  if (!bind || model == nullptr || _classHandle.empty()) return;

  LoadBinding& report = _identity.binding;
  report.savedClass = _classHandle;
  const qaxoi::module::ClassBinding cls = qaxoi::module::BindClass(*model, _classHandle);
  report.classOutcome = cls.outcome;
  report.classNote = cls.note;
  // A class that is gone keeps the links as saved: they still take their
  // children, and a later save writes them again for the old vocabulary.
  if (cls.metaClass == nullptr) return;
  if (cls.outcome == ClassBindingOutcome::kMigrated) _classHandle = cls.metaClass->GetInfo().handle;

  // The vocabulary the group was saved with: the links are the class's, as
  // read; only the IRIs a file without them lacks are filled in.
  const std::size_t count = _linkDescriptions.size();
  const bool iriless = _identity.iris.size() != count;
  std::size_t walkCount = 0;
  if (qaxoi::module::SavedLinksFollowWalk(cls.metaClass, *model, _linkDescriptions, _identity.iris,
                                          iriless ? &_identity.iris : nullptr, &walkCount) &&
      (walkCount == count || BindValueLinksBehindWalk(walkCount))) {
    return;
  }
  _identity.valueLinks.clear();
  if (iriless) _identity.iris.clear();

  qaxoi::module::Walk whole =
      qaxoi::module::WalkLinksOf(cls.metaClass, *model, static_cast<std::size_t>(kMaxChildLinks));
  std::vector<qaxoi::module::WalkLink>& walk = whole.links;
  bool identity = false;
  // Fills the IRIs the file did not hold with those resolved from the names.
  std::vector<SavedLinkBinding> links =
      qaxoi::module::BindSavedLinks(_linkDescriptions, _identity.iris, whole, *model, &identity);
  if (identity) return;

  // The saved links keep their positions (the host links their children by
  // position after every channel has loaded); the attributes none of them is
  // bound to get links behind them. What was saved moves to where it is
  // kept: into the link itself when it still holds, else into the report.
  report.rebound = true;
  report.links = std::move(links);
  std::vector<LinkDescription> saved = std::move(_linkDescriptions);
  std::vector<std::string> savedIrisNow = std::move(_identity.iris);
  _linkDescriptions.clear();
  _linkDescriptions.reserve(count + walk.size());
  std::vector<std::string> iris;
  iris.reserve(count + walk.size());
  std::vector<int> linkOfAttribute(walk.size(), -1);
  for (SavedLinkBinding& binding : report.links) {
    const std::size_t at = static_cast<std::size_t>(binding.savedSlot);
    if (binding.outcome == LinkBindingOutcome::kValue) {
      // Another value of an attribute bound by an earlier link: it takes
      // that link's description and IRI as they are now.
      const std::size_t own = static_cast<std::size_t>(binding.valueOf);
      LinkDescription description = _linkDescriptions[own];
      std::string iri = iris[own];
      if (description.second != saved[at].second) binding.savedName = std::move(saved[at].second);
      if (!savedIrisNow[at].empty() && savedIrisNow[at] != iri)
        binding.savedIri = std::move(savedIrisNow[at]);
      _linkDescriptions.push_back(std::move(description));
      iris.push_back(std::move(iri));
      _identity.valueLinks.push_back({binding.slot, binding.walkPosition});
      continue;
    }
    if (binding.walkPosition < 0) {
      // Kept as saved, so that loading against the old vocabulary binds it.
      _linkDescriptions.push_back(std::move(saved[at]));
      iris.push_back(std::move(savedIrisNow[at]));
      continue;
    }
    qaxoi::module::WalkLink& link = walk[static_cast<std::size_t>(binding.walkPosition)];
    // Each attribute is bound once: its texts can move.
    if (link.NameIs(saved[at].second)) {
      _linkDescriptions.emplace_back(std::move(saved[at]));
    } else {
      binding.savedName = std::move(saved[at].second);
      _linkDescriptions.emplace_back(std::string(link.type), link.Name());
    }
    if (link.IriIs(savedIrisNow[at])) {
      iris.push_back(std::move(savedIrisNow[at]));
    } else {
      binding.savedIri = std::move(savedIrisNow[at]);
      iris.push_back(link.Iri());
    }
    linkOfAttribute[static_cast<std::size_t>(binding.walkPosition)] = binding.slot;
  }
  bool followsWalk = true;
  for (std::size_t j = 0; j < walk.size(); ++j) {
    if (linkOfAttribute[j] < 0) {
      if (_linkDescriptions.size() == static_cast<std::size_t>(kMaxChildLinks)) {
        ++report.attributesWithoutLink;
        continue;
      }
      _linkDescriptions.emplace_back(std::string(walk[j].type), walk[j].Name());
      iris.push_back(walk[j].Iri());
      linkOfAttribute[j] = static_cast<int>(_linkDescriptions.size() - 1);
      ++report.addedLinks;
    }
    followsWalk = followsWalk && linkOfAttribute[j] == static_cast<int>(j);
  }
  if (report.attributesWithoutLink > 0) {
    ReportError("Aco_QAXOntologyItem::LoadChannel", "TooManyLinks.Count[%zu].Limit[%d]",
                _linkDescriptions.size() + static_cast<std::size_t>(report.attributesWithoutLink),
                kMaxChildLinks);
  }
  _identity.iris = std::move(iris);
  // Links that end up in walk order need no table: link i is attribute i.
  if (!followsWalk || _linkDescriptions.size() != walk.size())
    _identity.linkOfAttribute = std::move(linkOfAttribute);
}

bool Aco_QAXOntologyItem::BindValueLinksBehindWalk(std::size_t walkCount) {
  const std::size_t count = _linkDescriptions.size();
  // The walk's links by (link name, position), to find each later link's
  // attribute in O(log n).
  std::vector<std::size_t> byName(walkCount);
  for (std::size_t j = 0; j < walkCount; ++j) byName[j] = j;
  std::sort(byName.begin(), byName.end(), [this](std::size_t a, std::size_t b) {
    return _linkDescriptions[a].second != _linkDescriptions[b].second
               ? _linkDescriptions[a].second < _linkDescriptions[b].second
               : a < b;
  });
  const bool withIris = _identity.iris.size() == count;
  std::vector<LinkIdentity::ValueLink> values;
  values.reserve(count - walkCount);
  for (std::size_t i = walkCount; i < count; ++i) {
    const LinkDescription& link = _linkDescriptions[i];
    auto it = std::lower_bound(byName.begin(), byName.end(), link.second,
                               [this](std::size_t a, const std::string& name) {
                                 return _linkDescriptions[a].second < name;
                               });
    for (; it != byName.end() && _linkDescriptions[*it].second == link.second; ++it) {
      const bool sameIri =
          !withIris || _identity.iris[i].empty() || _identity.iris[i] == _identity.iris[*it];
      if (_linkDescriptions[*it].first == link.first && sameIri) break;
    }
    if (it == byName.end() || _linkDescriptions[*it].second != link.second) return false;
    values.push_back({static_cast<int>(i), static_cast<int>(*it)});
  }
  // A file without IRIs gets its value links' from their attributes' links.
  if (withIris) {
    for (const LinkIdentity::ValueLink& value : values) {
      std::string& iri = _identity.iris[static_cast<std::size_t>(value.link)];
      if (iri.empty()) iri = _identity.iris[static_cast<std::size_t>(value.walkPosition)];
    }
  }
  _identity.valueLinks = std::move(values);
  return true;
}

void Aco_QAXOntologyItem::NormalizeLinks() {
  const std::vector<int>& linkOf = _identity.linkOfAttribute;
  if (linkOf.empty() || _identity.binding.attributesWithoutLink > 0) return;
  // The new order: the walk's links, then the value links in link order,
  // then the saved links bound to nothing.
  const std::size_t count = _linkDescriptions.size();
  std::vector<int> order(linkOf.begin(), linkOf.end());
  std::vector<bool> placed(count, false);
  for (const int link : order) placed[static_cast<std::size_t>(link)] = true;
  for (const LinkIdentity::ValueLink& value : _identity.valueLinks) {
    order.push_back(value.link);
    placed[static_cast<std::size_t>(value.link)] = true;
  }
  for (std::size_t link = 0; link < count; ++link) {
    if (!placed[link]) order.push_back(static_cast<int>(link));
  }
  std::vector<LinkDescription> descriptions;
  std::vector<std::string> iris;
  std::vector<A3d_Channel*> children;
  std::vector<int> newPosition(count, -1);
  descriptions.reserve(count);
  iris.reserve(count);
  children.reserve(count);
  for (std::size_t i = 0; i < order.size(); ++i) {
    const std::size_t old = static_cast<std::size_t>(order[i]);
    descriptions.push_back(std::move(_linkDescriptions[old]));
    iris.push_back(old < _identity.iris.size() ? std::move(_identity.iris[old]) : std::string());
    children.push_back(GetChild(static_cast<int>(old)));
    newPosition[old] = static_cast<int>(i);
  }
  _linkDescriptions = std::move(descriptions);
  _identity.iris = std::move(iris);
  _identity.linkOfAttribute.clear();
  for (SavedLinkBinding& link : _identity.binding.links) {
    link.slot = newPosition[static_cast<std::size_t>(link.slot)];
    if (link.valueOf >= 0) link.valueOf = newPosition[static_cast<std::size_t>(link.valueOf)];
  }
  for (LinkIdentity::ValueLink& value : _identity.valueLinks)
    value.link = newPosition[static_cast<std::size_t>(value.link)];
  AllLinksOrNone([this, &children] {
    DeclareLinksFromDescriptions();
    for (std::size_t i = 0; i < children.size(); ++i) {
      if (children[i] != nullptr) LinkChild(static_cast<int>(i), children[i]);
    }
  });
}
