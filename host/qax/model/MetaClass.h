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

  // The attributes that a walk of the class's links meets at this class: a
  // host walks the parent chain, root first, and takes each class's list in
  // order. The list holds the attributes the class presents for superclasses
  // that its parent's walk does not reach (PresentAttribute), then its own,
  // and never one that the walk met above it; so the walk meets every
  // inherited attribute once, also those of superclasses other than the
  // parent. For a class given its attributes by AddAttribute alone it is
  // GetDeclaredAttributes(). The order never changes once the model is built.
  const std::vector<const MetaAttr*>& GetAttributes() const;

  // The attributes the class itself declares and owns, in the order they
  // were declared (AddAttribute, DeclareAttribute).
  const std::vector<const MetaAttr*>& GetDeclaredAttributes() const;

  // The direct superclasses that are classes of the model: the parent first
  // (none for a root class), then those given to AddSuperclass, in that
  // order. Made on each call: most classes have their parent alone, which
  // costs nothing to keep.
  std::vector<const MetaClass*> GetSuperclasses() const;

  // The library the class belongs to; never null.
  const MetaClassLibrary* GetLibrary() const { return library_; }

  // The fully qualified name: the library's name, "::", then the class's
  // `name`, e.g. "schema::Person". A model holds at most one class of each
  // FQ name (OntologyModel::AddClass refuses a second), so the text names
  // this class within its model; OntologyItem is constructed from it.
  std::string GetFQName() const;

  // Declares an attribute with `cardinality`, `range` and `valueType` (null:
  // none; see MetaAttr::GetRange and GetValueType), presents it (appends it
  // to GetAttributes) and answers it (owned by this class). Any record is
  // accepted, including a name the class or a parent already has: a walk
  // then meets both.
  const MetaAttr* AddAttribute(Info::MetaAttrInfo info,
                               MetaAttr::Cardinality cardinality = MetaAttr::Cardinality(),
                               std::shared_ptr<const AttrRange> range = nullptr,
                               std::shared_ptr<const AttrValueType> valueType = nullptr);

  // Declares an attribute as AddAttribute does, without presenting it:
  // GetAttributes() is unchanged until PresentAttribute adds it.
  const MetaAttr* DeclareAttribute(Info::MetaAttrInfo info,
                                   MetaAttr::Cardinality cardinality = MetaAttr::Cardinality(),
                                   std::shared_ptr<const AttrRange> range = nullptr,
                                   std::shared_ptr<const AttrValueType> valueType = nullptr);

  // Appends `attribute` to GetAttributes(). Precondition, not checked (it
  // would cost a walk of every ancestor): `attribute` is declared by this
  // class or by one of its superclasses, theirs, and so on, in this model,
  // and is not presented by this class or by a class its walk meets
  // before it. A null attribute changes nothing.
  void PresentAttribute(const MetaAttr* attribute);

  // Adds `superclass` to GetSuperclasses(), after those given before; false,
  // and nothing changed, for null, the class itself and its parent.
  // Preconditions, not checked (a class may have many superclasses, and
  // each check would cost a search): `superclass` is a class of the same
  // model, not given before. The model follows no superclass itself: what
  // the class gets of it is what it presents.
  bool AddSuperclass(const MetaClass* superclass);

  // Gives the attribute at `index` of GetDeclaredAttributes() `texts` (null:
  // none), shared with the attributes of the same property on other classes.
  // An index past the end changes nothing.
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
  // Null until the first attribute or superclass is added: most classes of a
  // large vocabulary have no attribute and their parent alone, and a model
  // may hold millions of classes. `presented` is used only while the
  // presented list differs from `declared`: a class that presents what it
  // declares, in that order, keeps one list.
  struct Attributes {
    std::vector<std::unique_ptr<MetaAttr>> owned;
    std::vector<const MetaAttr*> declared;
    std::vector<const MetaAttr*> presented;
    bool separate = false;     // GetAttributes() is `presented`, not `declared`
    std::size_t matching = 0;  // while separate: how many first ones the lists share
    std::vector<const MetaClass*> superclasses;  // beside the parent
  };
  Attributes& Lists();
  const MetaAttr* Declare(Info::MetaAttrInfo info, MetaAttr::Cardinality cardinality,
                          std::shared_ptr<const AttrRange> range,
                          std::shared_ptr<const AttrValueType> valueType);
  // Keeps one list again when the presented one has become the declared one.
  void JoinWhenEqual();
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
