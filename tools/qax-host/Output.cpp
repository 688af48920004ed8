#include "tools/qax-host/Output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <utility>

#include "host/files/OutputFile.h"
#include "ontology_item/Aco_QAXOntologyItem.h"
#include "tools/qax-host/Activity.h"
#include "tools/qax-host/ChannelText.h"
#include "tools/qax-host/Failure.h"
#include "tools/qax-host/ItemText.h"
#include "tools/qax-host/Verbosity.h"

namespace qaxoi::qax_host {

std::string Counted(std::size_t count, const char* one, const char* many) {
  std::string digits = std::to_string(count);
  for (std::size_t i = digits.size(); i > 3; i -= 3) digits.insert(i - 3, ",");
  return digits + " " + (count == 1 ? one : many);
}

void PrintLine(const std::string& line) {
  const std::size_t end = line.find_last_not_of(" \t");
  std::fwrite(line.data(), 1, end == std::string::npos ? 0 : end + 1, stdout);
  std::fputc('\n', stdout);
}

namespace {

using QAX::Ontology::Info::AttrKind;
using QAX::Ontology::Info::AttrKindOf;

// The kind of attribute `name` of `metaClass` (null: a class the model
// lacks): the first of that name in the walk from the root class down, as
// the channel links them; text when there is none. The walk stops at a
// repeated class.
AttrKind KindOf(const QAX::Ontology::MetaClass* metaClass, const std::string& name) {
  std::vector<const QAX::Ontology::MetaClass*> chain;
  std::set<const QAX::Ontology::MetaClass*> seen;
  for (const auto* c = metaClass; c != nullptr && seen.insert(c).second; c = c->GetParent()) {
    chain.push_back(c);
  }
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    for (const QAX::Ontology::MetaAttr* attribute : (*it)->GetAttributes()) {
      if (attribute->GetInfo().name == name) return AttrKindOf(attribute->GetInfo().kind);
    }
  }
  return AttrKind::kText;
}

// The number `text` writes in decimal notation (the module's number texts);
// false for anything else: blanks, hex, nan, inf, trailing bytes.
bool DecimalNumber(const std::string& text, double* value) {
  if (text.empty() || text.find_first_not_of("0123456789+-.eE") != std::string::npos) return false;
  char* end = nullptr;
  errno = 0;
  *value = std::strtod(text.c_str(), &end);
  return errno == 0 && end == text.c_str() + text.size() && std::isfinite(*value);
}

// The largest magnitude up to which a double holds every integer (2^53).
constexpr double kDoubleExactInteger = 9007199254740992.0;

// `text`, a value of an attribute of `kind`, as JSON.
Json TypedValue(std::string text, AttrKind kind) {
  if (kind == AttrKind::kBoolean) {
    if (text == "1" || text == "true") return true;
    if (text == "0" || text == "false") return false;
  }
  double number = 0.0;
  if ((kind == AttrKind::kInteger || kind == AttrKind::kReal) && DecimalNumber(text, &number)) {
    if (kind == AttrKind::kInteger && std::trunc(number) == number &&
        std::fabs(number) <= kDoubleExactInteger) {
      return static_cast<std::int64_t>(number);
    }
    return number;
  }
  return text;
}

}  // namespace

void PrintJson(const Json& document) {
  const Activity writing("writing the JSON document");
  const std::string text = document.dump(2, ' ', false, Json::error_handler_t::replace);
  std::fputs(text.c_str(), stdout);
  std::fputc('\n', stdout);
}

Json ItemJson(const QAX::Onto::OntologyItem& item, const QAX::Ontology::OntologyModel& model) {
  // The items in the order they are met, each with its values: a text, a
  // nested item (by its place in `items`) or null. Nested items are met after
  // their parent, so building the documents from the last item to the first
  // finds every nested document ready, without recursion.
  struct Value {
    std::string name;
    std::vector<std::string> texts;
    std::vector<std::size_t> nested;  // 0: none (the first item nests in nothing)
    bool list = false;
  };
  struct Found {
    const QAX::Onto::OntologyItem* item;
    std::vector<Value> values;
  };
  std::vector<Found> items{{&item, {}}};
  for (std::size_t at = 0; at < items.size(); ++at) {
    std::vector<Value> values;
    for (ItemAttribute& attribute : ItemAttributes(*items[at].item)) {
      Value value;
      value.name = std::move(attribute.name);
      value.list = attribute.list;
      value.texts = std::move(attribute.texts);
      for (const QAX::Onto::OntologyItem* nested : attribute.items) {
        value.nested.push_back(items.size());
        items.push_back({nested, {}});
      }
      values.push_back(std::move(value));
    }
    items[at].values = std::move(values);
  }
  std::vector<Json> documents(items.size());
  for (std::size_t at = items.size(); at-- > 0;) {
    const QAX::Ontology::MetaClass* metaClass =
        model.GetMetaClassByFQName(items[at].item->GetFQName());
    Json attributes = Json::object();
    for (Value& value : items[at].values) {
      Json& slot = attributes[value.name];
      // An attribute of several values is an array of them.
      Json values = Json::array();
      for (std::string& text : value.texts)
        values.push_back(TypedValue(std::move(text), KindOf(metaClass, value.name)));
      for (const std::size_t nested : value.nested) values.push_back(std::move(documents[nested]));
      if (value.list) {
        slot = std::move(values);
      } else if (!values.empty()) {
        slot = std::move(values.front());
      }
    }
    Json& json = documents[at];
    json["class"] = ItemClassName(*items[at].item, model);
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

namespace {

// Prints why `written` failed, or tells where the output went.
bool Delivered(const qaxoi::Status& written, qaxoi::files::Delivery delivery,
               bool* toStandardOutput) {
  if (!written.ok()) {
    Fail(written);
    return false;
  }
  *toStandardOutput = delivery == qaxoi::files::Delivery::kStandardOutput;
  return true;
}

}  // namespace

bool WriteOutput(const std::string& path, const std::string& bytes, bool* toStandardOutput) {
  qaxoi::files::Delivery delivery = qaxoi::files::Delivery::kFile;
  const qaxoi::Status written =
      qaxoi::files::WriteOutputFile(path, bytes.data(), bytes.size(), &delivery);
  return Delivered(written, delivery, toStandardOutput);
}

bool WriteOutput(const std::string& path, const std::function<void(std::ostream&)>& produce,
                 bool* toStandardOutput) {
  qaxoi::files::Delivery delivery = qaxoi::files::Delivery::kFile;
  const qaxoi::Status written = qaxoi::files::WriteOutputFile(path, produce, &delivery);
  return Delivered(written, delivery, toStandardOutput);
}

namespace {

// The errno of the first write to standard output that failed, 0 while none
// has: stdio keeps only that some write failed, not why.
int firstOutputError = 0;

// Writes stdio's buffer of standard output to descriptor 1, noting the first
// failure's reason.
ssize_t WriteStandardOutput(void* /*cookie*/, const char* data, std::size_t size) {
  std::size_t written = 0;
  while (written < size) {
    const ssize_t done = ::write(STDOUT_FILENO, data + written, size - written);
    if (done < 0 && errno == EINTR) continue;
    if (done < 0) {
      if (firstOutputError == 0) firstOutputError = errno;
      return written > 0 ? static_cast<ssize_t>(written) : -1;
    }
    written += static_cast<std::size_t>(done);
  }
  return static_cast<ssize_t>(written);
}

}  // namespace

void HoldStandardStreams() {
  for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // open() answers the lowest free descriptor: this one.
    const int held = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (held != fd && held >= 0) ::close(held);
  }
  // Standard output becomes a stream of ours over descriptor 1, buffered as
  // stdio buffers it, that remembers why a write failed. It lives as long as
  // the process.
  const cookie_io_functions_t functions = {nullptr, WriteStandardOutput, nullptr, nullptr};
  std::FILE* checked = ::fopencookie(nullptr, "w", functions);
  if (checked == nullptr) return;
  std::setvbuf(checked, nullptr, ::isatty(STDOUT_FILENO) == 1 ? _IOLBF : _IOFBF, BUFSIZ);
  stdout = checked;
}

int FinishOutput(int result) {
  const bool flushed = std::fflush(stdout) == 0;
  if (flushed && std::ferror(stdout) == 0) return result;
  Fail(std::string("cannot write standard output") +
       (firstOutputError != 0 ? std::string(": ") + std::strerror(firstOutputError)
                              : std::string()));
  return result != kExitOk ? result : kExitFailure;
}

std::string InputName(const std::string& path) {
  return path == "-" ? std::string("(standard input)") : path;
}

Progress::Progress(bool worthShowing, const std::string& what)
    : shown_(worthShowing && CurrentVerbosity() != Verbosity::kQuiet &&
             ::isatty(STDERR_FILENO) == 1),
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

}  // namespace qaxoi::qax_host
