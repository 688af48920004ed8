#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "channel_extension/LinkTypes.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "host/qax/rdf/Rdf.h"
#include "host/sdk/GroupFile.h"
#include "host/sdk/LoadedGroup.h"
#include "module/Module.h"
#include "ontology_item/ClassSelection.h"
#include "ontology_item/LoadBinding.h"

namespace qaxoi::fuzz {
namespace {

using QAX::Ontology::OntologyModel;

// Small enough that one input runs in milliseconds, large enough for every
// change to meet every other: a few classes, a few dozen attributes, two
// namespaces that share local names.
constexpr std::size_t kClasses = 4;
constexpr std::size_t kMostAttributes = 24;
constexpr std::size_t kMostChanges = 12;
constexpr const char* kNamespaces[] = {"http://example.org/a#", "http://example.org/b/"};
constexpr const char* kLocalNames[] = {"name", "size", "part", "date", "code", "note"};
constexpr const char* kRanges[] = {"xsd:string", "xsd:integer", "xsd:boolean", "xsd:date", "a:C0"};

// Reads the input as a stream of choices; past its end every choice is 0.
class Choices {
 public:
  Choices(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::size_t Pick(std::size_t bound) { return (at_ < size_ ? data_[at_++] : 0) % bound; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

// One property of a generated vocabulary.
struct Property {
  std::string iri;
  std::size_t domain = 0;  // class index
  std::size_t range = 0;   // index into kRanges
  std::string extra;       // statements about it beyond its declaration
};

// A chain C0 <- C1 <- ... and the properties, written as Turtle.
struct Vocabulary {
  std::vector<Property> properties;
  bool lastClassKept = true;

  std::string Turtle() const {
    std::string text =
        "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
        "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
        "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n"
        "@prefix dct: <http://purl.org/dc/terms/> .\n"
        "@prefix a: <http://example.org/a#> .\n";
    for (std::size_t c = 0; c < kClasses; ++c) {
      if (c + 1 == kClasses && !lastClassKept) break;
      text += "a:C" + std::to_string(c) + " a owl:Class";
      if (c > 0) text += " ; rdfs:subClassOf a:C" + std::to_string(c - 1);
      text += " .\n";
    }
    for (const Property& p : properties) {
      const bool object = kRanges[p.range][0] == 'a';
      text += "<" + p.iri + "> a " + (object ? "owl:ObjectProperty" : "owl:DatatypeProperty") +
              " ; rdfs:domain a:C" + std::to_string(p.domain) + " ; rdfs:range " +
              kRanges[p.range] + " .\n" + p.extra;
    }
    return text;
  }
};

std::unique_ptr<OntologyModel> Load(const std::string& text, std::string* problem) {
  qaxoi::rdf::LoadedModel loaded;
  const qaxoi::Status status =
      qaxoi::rdf::LoadModelText(text, qaxoi::rdf::RdfSyntax::kTurtle, "v.ttl", "", &loaded);
  if (!status.ok()) *problem = "a generated vocabulary does not load: " + status.message();
  return std::move(loaded.model);
}

void Use(OntologyModel* model) {
  QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance().SetOntologyModel(model);
}

// The saved value each child stands for: the attribute it was linked to.
struct Saved {
  A3d_Channel* child;
  std::string attributeIri;
};

std::unique_ptr<LoadedGroup> LoadBytes(const std::vector<unsigned char>& bytes,
                                       std::string* problem) {
  std::unique_ptr<LoadedGroup> group;
  GroupFileError error;
  if (!LoadGroup(bytes.data(), bytes.size(), Registry(), &group, &error).ok())
    *problem = "the saved group does not load: " + error.reason;
  return group;
}

// "a value saved on <was> is bound to <now>", with `before` and `after`.
std::string Misbound(const char* before, const std::string& was, const std::string& now,
                     const char* after) {
  std::string text(before);
  text.append("a value saved on <").append(was).append("> is bound to <").append(now);
  return text.append(">").append(after);
}

}  // namespace

std::string FuzzVocabularyRelease(const std::uint8_t* data, std::size_t size) {
  Choices choices(data, size);
  Vocabulary release1;
  const std::size_t count = 1 + choices.Pick(kMostAttributes);
  for (std::size_t i = 0; i < count; ++i) {
    Property p;
    p.iri = std::string(kNamespaces[choices.Pick(2)]) + kLocalNames[choices.Pick(6)] +
            std::to_string(i % 3);
    p.domain = choices.Pick(kClasses);
    p.range = choices.Pick(std::size(kRanges));
    release1.properties.push_back(std::move(p));
  }

  // The next release: each change drawn from the input.
  Vocabulary release2 = release1;
  const std::size_t changes = choices.Pick(kMostChanges + 1);
  for (std::size_t c = 0; c < changes && !release2.properties.empty(); ++c) {
    const std::size_t at = choices.Pick(release2.properties.size());
    Property& p = release2.properties[at];
    const std::string fresh = std::string(kNamespaces[choices.Pick(2)]) + "new" + std::to_string(c);
    switch (choices.Pick(8)) {
      case 0:  // added
        release2.properties.push_back({fresh, choices.Pick(kClasses), choices.Pick(5), ""});
        break;
      case 1:  // removed
        release2.properties.erase(release2.properties.begin() + static_cast<long>(at));
        break;
      case 2:  // moved to another class
        p.domain = choices.Pick(kClasses);
        break;
      case 3:  // its range changed
        p.range = choices.Pick(std::size(kRanges));
        break;
      case 4:  // renamed, the old one deprecated and replaced
        release2.properties.push_back(
            {fresh, p.domain, choices.Pick(2) == 0 ? p.range : 1,
             "<" + p.iri + "> owl:deprecated true ; dct:isReplacedBy <" + fresh + "> .\n"});
        release2.properties.erase(release2.properties.begin() + static_cast<long>(at));
        break;
      case 5: {  // renamed, an equivalent stated
        const Property old = p;
        release2.properties.erase(release2.properties.begin() + static_cast<long>(at));
        release2.properties.push_back(
            {fresh, old.domain, old.range,
             "<" + fresh + "> owl:equivalentProperty <" + old.iri + "> .\n"});
        break;
      }
      case 6:  // the channel's class removed
        release2.lastClassKept = false;
        break;
      default:  // declared again, last
        release2.properties.push_back(p);
        release2.properties.erase(release2.properties.begin() + static_cast<long>(at));
        break;
    }
  }

  // The ambassador never keeps pointing at the models made here.
  struct Unset {
    ~Unset() { Use(nullptr); }
  } unset;
  std::string problem;
  std::unique_ptr<OntologyModel> model1 = Load(release1.Turtle(), &problem);
  std::unique_ptr<OntologyModel> model2 = Load(release2.Turtle(), &problem);
  if (!problem.empty()) return problem;
  const std::string handle = std::string(kNamespaces[0]) + "C" + std::to_string(kClasses - 1);

  // A group saved against release 1: the last class's channel with a child
  // on every link of a text or value type.
  Use(model1.get());
  std::vector<unsigned char> bytes;
  std::vector<Saved> saved;
  {
    std::unique_ptr<A3d_Channel> made = Registry().NewChannel(GetType()->TypeGuid);
    auto& channel = static_cast<Aco_QAXOntologyItem&>(*made);
    const QAX::Ontology::MetaClass* cls = model1->GetMetaClass(handle);
    if (cls == nullptr) return "the generated class does not resolve";
    qaxoi::module::ChooseClass(channel, *cls, true, qaxoi::module::ChannelNaming::kKeepName);
    std::vector<A3d_Channel*> list{&channel};
    std::vector<std::unique_ptr<A3d_Channel>> children;
    const std::vector<std::string>& iris = channel.GetLinkAttributeIris();
    const auto& links = channel.GetLinkDescriptions();
    for (std::size_t link = 0; link < links.size(); ++link) {
      if (links[link].first == kTextLinkTypeName) {
        children.push_back(Registry().NewChannel(kTextLinkGuid));
        static_cast<Aco_StringChannel&>(*children.back()).SetString(links[link].second.c_str());
      } else if (links[link].first == kValueLinkTypeName) {
        children.push_back(Registry().NewChannel(kValueLinkGuid));
        static_cast<Aco_FloatChannel&>(*children.back()).SetFloat(static_cast<float>(link));
      } else {
        continue;
      }
      channel.LinkChild(static_cast<int>(link), children.back().get());
      list.push_back(children.back().get());
      saved.push_back({children.back().get(), iris.size() > link ? iris[link] : std::string()});
    }
    if (!SaveGroup("g", list, &bytes).ok()) return "the group does not save";
    for (int link = 0; link < channel.GetChildCount(); ++link) channel.LinkChild(link, nullptr);
  }

  // Loaded against release 2: every value is on the attribute it was saved
  // for, on what release 2 names in its place, or on none.
  Use(model2.get());
  std::unique_ptr<LoadedGroup> group = LoadBytes(bytes, &problem);
  if (!group) return problem;
  auto& loaded = static_cast<Aco_QAXOntologyItem&>(*group->Channel(0));
  for (std::size_t v = 0; v < saved.size(); ++v) {
    A3d_Channel* child = group->Channel(v + 1);
    for (const SavedLinkBinding& link : loaded.GetLoadBinding().links) {
      if (loaded.GetChild(link.slot) != child || link.outcome == LinkBindingOutcome::kUnbound)
        continue;
      const std::string& was = saved[v].attributeIri;
      const std::string& now = loaded.GetLinkAttributeIris()[static_cast<std::size_t>(link.slot)];
      if (link.outcome == LinkBindingOutcome::kMigrated) {
        bool named = false;
        for (const auto& successor : model2->GetSuccessors(was))
          named = named || successor.iri == now;
        if (!named)
          return Misbound("", was, now, ", which the vocabulary does not name in its place");
      } else if (now != was) {
        return Misbound("", was, now, "");
      }
    }
  }

  // Saved again and loaded against release 1: every value that did not
  // migrate is back on its attribute.
  std::vector<unsigned char> again;
  if (!SaveGroup("g", group->Channels(), &again).ok()) return "the loaded group does not save";
  group.reset();
  Use(model1.get());
  std::unique_ptr<LoadedGroup> back = LoadBytes(again, &problem);
  if (!back) return problem;
  auto& restored = static_cast<Aco_QAXOntologyItem&>(*back->Channel(0));
  for (std::size_t v = 0; v < saved.size(); ++v) {
    A3d_Channel* child = back->Channel(v + 1);
    for (const SavedLinkBinding& link : restored.GetLoadBinding().links) {
      if (restored.GetChild(link.slot) != child) continue;
      const std::string& now = restored.GetLinkAttributeIris()[static_cast<std::size_t>(link.slot)];
      if (link.outcome != LinkBindingOutcome::kUnbound && now != saved[v].attributeIri)
        return Misbound("back on the first release, ", saved[v].attributeIri, now, "");
    }
  }
  return std::string();
}

}  // namespace qaxoi::fuzz
