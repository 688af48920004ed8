// An attribute of an ontology class.
#ifndef QAX_HOST_QAX_MODEL_METAATTR_H_
#define QAX_HOST_QAX_MODEL_METAATTR_H_

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/qax/QAXExport.h"
#include "host/qax/model/AttrValueType.h"
#include "host/qax/model/MetaInfo.h"
#include "host/qax/model/TermTexts.h"

namespace QAX {
namespace Ontology {

// How many values an item of a class may give one attribute: at least `min`,
// at most `max` (kUnbounded: no upper bound). The default, 0 to unbounded,
// says nothing. A vocabulary may give min above max (a class no item can
// satisfy); the record keeps what it says.
struct AttrCardinality {
  static constexpr uint32_t kUnbounded = UINT32_MAX;
  uint32_t min = 0;
  uint32_t max = kUnbounded;
};

// One IRI that a range names, with what the model makes of it: `kind` is the
// number of an Info::AttrKind, kText to kTemporal for a datatype the service
// maps (or a class that derives from one), kComplex for a class of the
// model, kUnmapped for a datatype the service cannot map or an IRI that is
// neither.
struct AttrRangeTerm {
  std::string iri;
  int32_t kind = Info::KindValue(Info::AttrKind::kUnmapped);
};

// One value of an enumeration (owl:oneOf): an IRI (`isIri`, the IRI in
// `text`) or a literal, with its lexical form in `text`, its datatype IRI
// (empty for a plain or language-tagged literal) and its language tag.
struct AttrValue {
  std::string text;
  std::string datatype;
  std::string language;
  bool isIri = false;
};

// What the ontology says an attribute's values are. Every term of `allOf`
// holds of each value (several rdfs:range, or a restriction's filler); at
// least one term of `anyOf` does when it has any (schema:rangeIncludes, or
// the members of an owl:unionOf); when `oneOf` has values, each value is
// one of them. Terms come without repeats, in IRI order from a vocabulary;
// values in the order of the vocabulary's list. An empty record says
// nothing.
struct AttrRange {
  std::vector<AttrRangeTerm> allOf;
  std::vector<AttrRangeTerm> anyOf;
  std::vector<AttrValue> oneOf;

  bool Empty() const { return allOf.empty() && anyOf.empty() && oneOf.empty(); }
};

// One attribute, owned by the class it was added to (MetaClass::AddAttribute)
// and valid as long as that class's model lives.
class QAX_API MetaAttr {
 public:
  using Cardinality = AttrCardinality;

  // `range` and `valueType` may be null (the ontology gives none; the kind
  // alone decides how values are written) and may be shared by the
  // attributes of one property on several classes.
  explicit MetaAttr(Info::MetaAttrInfo info, Cardinality cardinality = Cardinality(),
                    std::shared_ptr<const AttrRange> range = nullptr,
                    std::shared_ptr<const AttrValueType> valueType = nullptr);
  MetaAttr(const MetaAttr&) = delete;
  MetaAttr& operator=(const MetaAttr&) = delete;

  const Info::MetaAttrInfo& GetInfo() const { return info_; }

  // The counts the ontology gives the attribute on its class (for a
  // vocabulary: its OWL restrictions, docs/vocabularies.md); 0 to unbounded
  // when it gives none.
  Cardinality GetCardinality() const { return cardinality_; }

  // What the ontology says the values are (for a vocabulary: its ranges,
  // unions and enumerations, docs/vocabularies.md); null when it says
  // nothing. Valid as long as the attribute.
  const AttrRange* GetRange() const { return range_.get(); }

  // How values are written (a literal and its datatype, or a reference and
  // the individuals it may name); the default record, a literal whose kind
  // decides, when none was given. Valid as long as the attribute.
  const AttrValueType& GetValueType() const;
  // The attribute's labels and documentation texts (for a vocabulary: its
  // property's) in every language given; null when none. Valid as long as
  // the attribute.
  const TermTexts* GetTexts() const { return texts_.get(); }
  // Replaces them; `texts` may be null and may be shared.
  void SetTexts(std::shared_ptr<const TermTexts> texts) { texts_ = std::move(texts); }

 private:
  const Info::MetaAttrInfo info_;
  const Cardinality cardinality_;
  const std::shared_ptr<const AttrRange> range_;
  const std::shared_ptr<const AttrValueType> valueType_;
  std::shared_ptr<const TermTexts> texts_;
};

}  // namespace Ontology
}  // namespace QAX

#endif  // QAX_HOST_QAX_MODEL_METAATTR_H_
