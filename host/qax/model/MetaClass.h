// A class of an ontology model.
#ifndef QAX_HOST_QAX_MODEL_METACLASS_H_
#define QAX_HOST_QAX_MODEL_METACLASS_H_

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "host/qax/QAXExport.h"
#include "host/qax/model/MetaAttr.h"
#include "host/qax/model/MetaInfo.h"
#include "host/qax/model/TermTexts.h"

namespace QAX {
namespace Ontology {

class MetaClassLibrary;

// One class, created and owned by an OntologyModel (OntologyModel::AddClass)
// and valid as long as that model lives.
class QAX_API MetaClass {
 public:
  MetaClass(const MetaClass&) = delete;
  MetaClass& operator=(const MetaClass&) = delete;
  ~MetaClass();

  // The record the class was added with; only its `doc` changes, when the
  // model's language preference does (OntologyModel::SetLanguages).
  const Info::MetaClassInfo& GetInfo() const { return info_; }

  // The class's labels and documentation texts in every language the
  // ontology gives; null when it gives none. Valid as long as the class.
  const TermTexts* GetTexts() const { return texts_ ? &texts_->texts : nullptr; }

  // The parent class, a class of the same model; null for a root class.
  const MetaClass* GetParent() const { return parent_; }

  // The class's own attributes (not the inherited ones), in the order they
  // were added. The order never changes once the model is built.
  const std::vector<const MetaAttr*>& GetAttributes() const;

  // The library the class belongs to; never null.
  const MetaClassLibrary* GetLibrary() const { return library_; }

  // The fully qualified name: the library's name, "::", then the class's
  // `name`, e.g. "schema::Person". A model holds at most one class of each
  // FQ name (OntologyModel::AddClass refuses a second), so the text names
  // this class within its model; OntologyItem is constructed from it.
  std::string GetFQName() const;

  // Appends an attribute with `cardinality` and `range` (null: none; see
  // MetaAttr::GetRange) and answers it (owned by this class). Any record is
  // accepted, including a name the class or a parent already has.
  const MetaAttr* AddAttribute(Info::MetaAttrInfo info,
                               MetaAttr::Cardinality cardinality = MetaAttr::Cardinality(),
                               std::shared_ptr<const AttrRange> range = nullptr);

  // Gives the attribute at `index` of GetAttributes() `texts` (null: none),
  // shared with the attributes of the same property on other classes. An
  // index past the end changes nothing.
  void SetAttributeTexts(std::size_t index, std::shared_ptr<const TermTexts> texts);

  // Makes room for `count` attributes in all, so that a loader that knows
  // how many it adds grows the class once. Throws std::bad_alloc.
  void ReserveAttributes(std::size_t count);

  // Builds the FQ name that a class called `name` in library `libraryName`
  // gets.
  static std::string MakeFQName(const std::string& libraryName, const std::string& name);

 private:
  friend class OntologyModel;
  MetaClass(Info::MetaClassInfo info, const MetaClass* parent, const MetaClassLibrary* library);

  Info::MetaClassInfo info_;
  const MetaClass* const parent_;
  const MetaClassLibrary* const library_;
  // Null until the first attribute is added: most classes of a large
  // vocabulary have none, and a model may hold millions of classes.
  struct Attributes {
    std::vector<std::unique_ptr<MetaAttr>> owned;
    std::vector<const MetaAttr*> list;
  };
  std::unique_ptr<Attributes> attributes_;
  // Null for a class without labels or documentation texts, as most are.
  // `docTail` is what `doc` says besides the chosen documentation text
  // (OntologyModel::SetClassTexts).
  struct Texts {
    TermTexts texts;
    std::string docTail;
  };
  std::unique_ptr<Texts> texts_;
};

}  // namespace Ontology
}  // namespace QAX

#endif  // QAX_HOST_QAX_MODEL_METACLASS_H_
