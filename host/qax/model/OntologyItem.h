// An instance of an ontology class with attribute values.
#ifndef QAX_HOST_QAX_MODEL_ONTOLOGYITEM_H_
#define QAX_HOST_QAX_MODEL_ONTOLOGYITEM_H_

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/qax/QAXExport.h"
#include "host/qax/model/OntologyItemInterfaces.h"

namespace QAX {
namespace Onto {

// An item: the FQ name of its class (MetaClass::GetFQName) and named attribute
// values, each a text, a nested item, a list of texts or a list of nested
// items. The item owns its nested items and deletes them with itself. Setting
// a name again replaces the value where it stands, so attribute order is the
// order of first setting. Lookups by name are hash-table lookups.
//
// Items are made with `new` by modules and deleted through either base's
// virtual destructor. A clone costs one copy of the item's own attribute list
// at most, nested items included. Not thread-safe.
class QAX_API OntologyItem : public IOntologyItemCruncher, public IOntologyItemBase {
 public:
  // A new item of the class with FQ name `fqName`, without attribute values.
  // The name is not checked against any model.
  explicit OntologyItem(const std::string& fqName);
  // A deep copy: nested items are copied too. Copies items of any depth
  // without recursion.
  OntologyItem(const OntologyItem& other);
  OntologyItem& operator=(const OntologyItem&) = delete;
  // Destroys the item and its nested items, of any depth, without recursion.
  ~OntologyItem() override;

  // A new, independent deep copy on the heap; the caller owns and deletes it.
  OntologyItem* Clone() const;

  // Sets attribute `name` to `value`.
  void SetAttribute(const std::string& name, const std::string& value);
  // Sets attribute `name` to the nested item `value` and takes ownership of
  // it. Null, this item itself, or the item that `name` already holds change
  // nothing. Precondition: `value` is owned by no other item (it must not be
  // an item this one already holds under another name, nor contain this one).
  void SetAttribute(const std::string& name, OntologyItem* value);

  // True and the text when attribute `name` holds a text; false (and `value`
  // untouched) otherwise.
  bool GetAttributeString(const std::string& name, std::string& value) const;
  // True and the nested item when attribute `name` holds one; false (and
  // `value` untouched) otherwise. This item keeps ownership: the pointer is
  // valid until the attribute is set again or this item is destroyed.
  bool GetAttributeInstance(const std::string& name, OntologyItem*& value);
  // The same for reading: the nested item, which the caller must not change
  // and which is not handed out (clones may go on sharing it).
  bool GetAttributeInstance(const std::string& name, const OntologyItem*& value) const;

  // The FQ name the item was made from.
  const std::string& GetFQName() const;

  // The handle of the item's class: the model currently set on the
  // ambassador maps the FQ name to its class. Empty when no model is set or
  // the model has no class of that FQ name.
  std::string GetClassHandle() const;

  // The names of all attributes that hold a value, in order of first setting.
  std::vector<std::string> GetAttributeNames() const;

  // Calls `visit(name, text, item)` once per value, in attribute order: a
  // text gives the text (and a null item), a nested item the item (and a
  // null text), a list each of its elements in turn. The pointers are valid
  // during the call only; `visit` must not change this item.
  void ForEachValue(const std::function<void(const std::string& name, const std::string* text,
                                             const OntologyItem* item)>& visit) const;

  // The item as indented text, one line per attribute ending in "\n":
  //   schema::Person
  //     name = "Ada"
  //     address = schema::PostalAddress
  //       streetAddress = "1 Main St"
  //     alternateName = ["A.", "Countess"]
  //     knows = [
  //       - schema::Person
  //         name = "Charles"
  //     ]
  // Texts are quoted, with \" \\ \n \r \t and \xHH (other control bytes)
  // escaped; nested items are indented two blanks deeper than their attribute.
  // Written without recursion, whatever the nesting; shared nested items are
  // written once per place they appear.
  std::string ToText() const;

  // IOntologyItemCruncher
  void DeclareConcept(const std::string& fqName) override;
  void PutBaseTypeAttribute(const std::string& name, const std::string& value) override;
  void PutComplexTypeAttribute(const std::string& name, OntologyItem* value) override;
  void PutBaseTypeListAttribute(const std::string& name,
                                const std::vector<std::string>& values) override;
  void PutComplexTypeListAttribute(const std::string& name,
                                   const std::vector<OntologyItem*>& values) override;
  bool ConstructConcept() override;

  // IOntologyItemBase
  std::string _GetType() const override;
  const Ontology::OntologyModel* _GetOntology() const override;
  bool _Get(const std::string& name, std::string& value) const override;
  void _SetAttributeBaseType(const std::string& name, const std::string& value) override;
  void _SetAttributeComplexType(const std::string& name, OntologyItem* value) override;
  void _SetAttributeBaseTypeList(const std::string& name,
                                 const std::vector<std::string>& values) override;
  void _SetAttributeComplexTypeList(const std::string& name,
                                    const std::vector<OntologyItem*>& values) override;

 private:
  struct Attribute;
  struct Body;

  // An item of `body`, shared.
  explicit OntologyItem(std::shared_ptr<Body> body);
  // A copy of `source` and of its nested items that nobody outside points
  // into, made level by level without recursion; bodies that may be shared
  // are shared.
  static std::shared_ptr<Body> CopyBody(const Body& source);
  // Lets go of `body`, destroying it and every body only it held without
  // recursion. Allocates nothing.
  static void ReleaseBody(std::shared_ptr<Body> body) noexcept;

  // The body, made this item's own first: a body shared with clones is
  // copied before anything in it changes.
  Body& Own();
  // The attribute called `name` in `body`, appended empty when there is none
  // yet.
  static Attribute& Slot(Body& body, const std::string& name);
  const Attribute* Find(const std::string& name) const;

  // Clones share their body until one of them changes, so that a clone costs
  // the same however deep its nested items go. A body is never shared while
  // anyone outside may hold a pointer into it (an item it took over, or
  // handed out by GetAttributeInstance): then Clone copies the attribute
  // list, sharing the nested items' bodies in turn.
  std::shared_ptr<Body> body_;
};

}  // namespace Onto
}  // namespace QAX

#endif  // QAX_HOST_QAX_MODEL_ONTOLOGYITEM_H_
