#include <pthread.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/qax/model/QAX.h"

namespace qaxoi::test {
namespace {

using QAX::Onto::OntologyItem;

using Names = std::vector<std::string>;

TEST(OntologyItem, SettingANameAgainReplacesTheValueInPlace) {
  OntologyItem item("schema::Person");
  item.SetAttribute("name", "Ada");
  item.SetAttribute("email", "ada@example.org");
  item.SetAttribute("name", "");
  item.SetAttribute("email", new OntologyItem("schema::ContactPoint"));
  item.SetAttribute("knows", static_cast<OntologyItem*>(nullptr));
  item.SetAttribute("knows", &item);
  EXPECT_EQ(item.GetAttributeNames(), (Names{"name", "email"}));
  std::string text = "untouched";
  EXPECT_TRUE(item.GetAttributeString("name", text));  // the empty text is a value
  EXPECT_EQ(text, "");
  EXPECT_FALSE(item.GetAttributeString("email", text) || item.GetAttributeString("missing", text));
  OntologyItem* nested = nullptr;
  EXPECT_FALSE(item.GetAttributeInstance("name", nested));
  ASSERT_TRUE(item.GetAttributeInstance("email", nested));
  item.SetAttribute("email", nested);  // must not free what it keeps
  EXPECT_EQ(item.ToText(), "schema::Person\n  name = \"\"\n  email = schema::ContactPoint\n");

  // Thousands of names: lookups stay right as the index grows.
  Names expected = item.GetAttributeNames();
  for (int i = 0; i < 3000; ++i) {
    expected.push_back("a" + std::to_string(i));
    item.SetAttribute(expected.back(), std::to_string(i));
  }
  item.SetAttribute("a2998", "again");
  EXPECT_EQ(item.GetAttributeNames(), expected);
  ASSERT_TRUE(item.GetAttributeString("a2998", text));
  EXPECT_EQ(text, "again");
}

// Clones share what they can, but neither a change of the original, nor of
// an item it handed out, nor of the clone shows in the other.
TEST(OntologyItem, CloneIsDeepAndIndependent) {
  auto original = std::make_unique<OntologyItem>("schema::Person");
  original->SetAttribute("name", "Ada");
  std::unique_ptr<OntologyItem> plain(original->Clone());
  plain->SetAttribute("name", "Plain");
  auto* address = new OntologyItem("schema::PostalAddress");
  address->SetAttribute("streetAddress", "1 Main St");
  original->SetAttribute("address", address);
  original->PutBaseTypeListAttribute("alternateName", {"A.", "Countess"});

  std::unique_ptr<OntologyItem> copy(original->Clone());
  original->SetAttribute("name", "Changed");
  address->SetAttribute("streetAddress", "2 Side St");
  original.reset();
  EXPECT_EQ(plain->ToText(), "schema::Person\n  name = \"Plain\"\n");
  EXPECT_EQ(copy->ToText(),
            "schema::Person\n"
            "  name = \"Ada\"\n"
            "  address = schema::PostalAddress\n"
            "    streetAddress = \"1 Main St\"\n"
            "  alternateName = [\"A.\", \"Countess\"]\n");
}

TEST(OntologyItem, ToTextEscapesTextsAndIndentsItemLists) {
  OntologyItem item("schema::Person");
  item.SetAttribute("quote", std::string("say \"hi\"\\\n\t\x01", 12));
  auto* first = new OntologyItem("schema::Person");
  first->SetAttribute("name", "Charles");
  item.PutComplexTypeListAttribute("knows", {first, nullptr, new OntologyItem("schema::Person")});
  item.PutBaseTypeListAttribute("tags", {});
  EXPECT_EQ(item.ToText(),
            "schema::Person\n"
            "  quote = \"say \\\"hi\\\"\\\\\\n\\t\\x01\"\n"
            "  knows = [\n"
            "    - schema::Person\n"
            "      name = \"Charles\"\n"
            "    - schema::Person\n"
            "  ]\n"
            "  tags = []\n");
}

// Runs `work` on a thread with a small stack, as an engine's worker may have:
// code that recursed once per level of nesting would overflow it.
void OnSmallStack(const std::function<void()>& work) {
  constexpr std::size_t kStack = 256 * 1024;
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, kStack);
  pthread_t thread;
  auto run = [](void* argument) -> void* {
    (*static_cast<const std::function<void()>*>(argument))();
    return nullptr;
  };
  ASSERT_EQ(0,
            pthread_create(&thread, &attributes, run, const_cast<std::function<void()>*>(&work)));
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
}

TEST(OntologyItem, ItemsOfAnyNestingAreCopiedWrittenAndDestroyedWithoutRecursion) {
  constexpr int kLevels = 4000;
  std::string text;
  std::size_t lines = 0;
  OnSmallStack([&] {
    auto root = std::make_unique<OntologyItem>("lib::Node");
    OntologyItem* end = root.get();
    for (int level = 1; level < kLevels; ++level) {
      auto* nested = new OntologyItem("lib::Node");
      nested->SetAttribute("level", std::to_string(level));
      // Every other level a list element, so that both kinds of nesting count.
      if (level % 2 == 0) {
        end->SetAttribute("next", nested);
      } else {
        end->PutComplexTypeListAttribute("next", {nested});
      }
      end = nested;
    }
    std::unique_ptr<OntologyItem> copy(root->Clone());
    std::unique_ptr<OntologyItem> shared(copy->Clone());
    end->SetAttribute("level", "changed");
    root.reset();
    text = copy->ToText();
    EXPECT_EQ(text, shared->ToText());
  });
  for (const char c : text) lines += c == '\n' ? 1 : 0;
  // Two lines a level (its attribute and its value), and two more for each
  // list (its element's line and its closing bracket).
  EXPECT_EQ(std::size_t{1 + 2 * (kLevels - 1) + 2 * (kLevels / 2)}, lines);
  EXPECT_EQ("\"" + std::to_string(kLevels - 1) + "\"", text.substr(text.rfind('=') + 2, 6));
}

}  // namespace
}  // namespace qaxoi::test
