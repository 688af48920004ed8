#include "tools/qax-host/Output.h"

#include <unistd.h>

#include <cstdio>
#include <utility>

#include "host/sdk/FileBytes.h"
#include "ontology_item/Aco_QAXOntologyItem.h"
#include "tools/qax-host/Activity.h"
#include "tools/qax-host/ChannelText.h"

namespace qax_host {

std::string Counted(std::size_t count, const char* one, const char* many) {
  std::string digits = std::to_string(count);
  for (std::size_t i = digits.size(); i > 3; i -= 3) digits.insert(i - 3, ",");
  return digits + " " + (count == 1 ? one : many);
}

void PrintJson(const Json& document) {
  const Activity writing("writing the JSON document");
  const std::string text = document.dump(2, ' ', false, Json::error_handler_t::replace);
  std::fputs(text.c_str(), stdout);
  std::fputc('\n', stdout);
}

Json ItemJson(const QAX::Onto::OntologyItem& item) {
  // The items in the order they are met, each with its values: a text, a
  // nested item (by its place in `items`) or null. Nested items are met after
  // their parent, so building the documents from the last item to the first
  // finds every nested document ready, without recursion.
  struct Value {
    std::string name;
    std::string text;
    std::size_t nested = 0;  // 0: none (the first item nests in nothing)
    bool isText = false;
  };
  struct Found {
    const QAX::Onto::OntologyItem* item;
    std::vector<Value> values;
  };
  std::vector<Found> items{{&item, {}}};
  for (std::size_t at = 0; at < items.size(); ++at) {
    std::vector<Value> values;
    const QAX::Onto::OntologyItem& current = *items[at].item;
    for (std::string& name : current.GetAttributeNames()) {
      Value value;
      value.name = std::move(name);
      const QAX::Onto::OntologyItem* nested = nullptr;
      if (current.GetAttributeString(value.name, value.text)) {
        value.isText = true;
      } else if (current.GetAttributeInstance(value.name, nested) && nested != nullptr) {
        value.nested = items.size();
        items.push_back({nested, {}});
      }
      values.push_back(std::move(value));
    }
    items[at].values = std::move(values);
  }
  std::vector<Json> documents(items.size());
  for (std::size_t at = items.size(); at-- > 0;) {
    Json attributes = Json::object();
    for (Value& value : items[at].values) {
      Json& slot = attributes[value.name];
      if (value.isText) {
        slot = std::move(value.text);
      } else if (value.nested != 0) {
        slot = std::move(documents[value.nested]);
      }
    }
    Json& json = documents[at];
    json["class"] = items[at].item->GetFQName();
    json["iri"] = items[at].item->GetClassHandle();
    json["attributes"] = std::move(attributes);
  }
  return std::move(documents.front());
}

Json ValueJson(A3d_Channel& channel) {
  if (auto* item = dynamic_cast<Aco_QAXOntologyItem*>(&channel)) {
    return {{"class", item->GetClassHandle()}};
  }
  if (auto* number = dynamic_cast<Aco_FloatChannel*>(&channel)) return number->GetFloat();
  if (auto* text = dynamic_cast<Aco_StringChannel*>(&channel)) {
    const char* value = text->GetString();
    return value != nullptr ? Json(value) : Json();
  }
  if (auto* vector = dynamic_cast<Aco_ValueVectorChannel*>(&channel)) {
    const D3DXVECTOR3 v = vector->GetVector();
    return Json::array({v.x, v.y, v.z});
  }
  if (auto* matrix = dynamic_cast<Aco_MatrixChannel*>(&channel)) {
    const D3DXMATRIX m = matrix->GetMatrix();
    Json rows = Json::array();
    for (const auto& row : m.m) rows.push_back(Json::array({row[0], row[1], row[2], row[3]}));
    return rows;
  }
  return nullptr;
}

bool ReadInput(const std::string& path, std::vector<unsigned char>* bytes, std::string* error) {
  if (path != "-") return ReadFileBytes(path, bytes, error);
  std::vector<unsigned char> read;
  unsigned char buffer[1 << 16];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof(buffer), stdin)) > 0) {
    read.insert(read.end(), buffer, buffer + got);
  }
  if (std::ferror(stdin)) {
    *error = "cannot read standard input";
    return false;
  }
  *bytes = std::move(read);
  return true;
}

std::string InputName(const std::string& path) {
  return path == "-" ? std::string("(standard input)") : path;
}

Progress::Progress(bool worthShowing, const std::string& what)
    : shown_(worthShowing && ::isatty(STDERR_FILENO) == 1),
      start_(std::chrono::steady_clock::now()) {
  if (!shown_) return;
  std::fprintf(stderr, "qax-host: %s ...", Escaped(what).c_str());
  std::fflush(stderr);
}

Progress::~Progress() { Done(); }

void Progress::Done() {
  if (!shown_) return;
  shown_ = false;
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start_;
  std::fprintf(stderr, " done (%.1f s)\n", took.count());
}

}  // namespace qax_host
