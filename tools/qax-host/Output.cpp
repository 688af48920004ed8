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

Json ItemJson(QAX::Onto::OntologyItem& item) {
  Json attributes = Json::object();
  for (const std::string& name : item.GetAttributeNames()) {
    std::string text;
    QAX::Onto::OntologyItem* nested = nullptr;
    if (item.GetAttributeString(name, text)) {
      attributes[name] = text;
    } else if (item.GetAttributeInstance(name, nested) && nested != nullptr) {
      attributes[name] = ItemJson(*nested);
    } else {
      attributes[name] = nullptr;
    }
  }
  Json json;
  json["class"] = item.GetFQName();
  json["iri"] = item.GetClassHandle();
  json["attributes"] = std::move(attributes);
  return json;
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
