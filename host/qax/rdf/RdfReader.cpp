#include "host/qax/rdf/RdfReader.h"

#include <serd/serd.h>

#include <cctype>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "host/qax/rdf/LexicalForms.h"
#include "host/qax/rdf/NestingDepth.h"
#include "host/qax/rdf/StatementSink.h"

namespace QAX {
namespace Ontology {
namespace Rdf {
namespace {

SerdSyntax ToSerd(RdfSyntax syntax) {
  switch (syntax) {
    case RdfSyntax::kNTriples:
      return SERD_NTRIPLES;
    case RdfSyntax::kNQuads:
      return SERD_NQUADS;
    case RdfSyntax::kTriG:
      return SERD_TRIG;
    case RdfSyntax::kTurtle:
    case RdfSyntax::kRdfXml:  // read by ReadRdfXml
    case RdfSyntax::kDetect:
      break;
  }
  return SERD_TURTLE;
}

std::string NodeText(const SerdNode& node) {
  return node.buf == nullptr ? std::string()
                             : std::string(reinterpret_cast<const char*>(node.buf), node.n_bytes);
}

// True when `iri` starts with a scheme ("http:", "urn:", ...), i.e. is not a
// relative reference.
bool HasScheme(std::string_view iri) {
  if (iri.empty() || !std::isalpha(static_cast<unsigned char>(iri[0]))) return false;
  for (const char c : iri) {
    if (c == ':') return true;
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') {
      return false;
    }
  }
  return false;
}

// The offset of the first byte that no RDF text may hold (NUL, or a byte
// that is not well-formed UTF-8), with `problem` saying which; npos when the
// document is clean. serd would stop silently at a NUL and places bad
// UTF-8 only roughly, so the document is checked before it is parsed.
std::size_t FindBadByte(const std::string& document, std::string& problem) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  constexpr std::uint64_t kHighBits = 0x8080808080808080u;
  for (std::size_t at = 0; at < document.size();) {
    // Most bytes are ASCII other than NUL: step over eight of them at once
    // (no byte with its high bit set, and no zero byte).
    std::uint64_t word = 0;
    while (document.size() - at >= sizeof(word)) {
      std::memcpy(&word, document.data() + at, sizeof(word));
      if ((word & kHighBits) != 0 || ((word - kOnes) & ~word & kHighBits) != 0) break;
      at += sizeof(word);
    }
    if (at >= document.size()) break;
    if (document[at] == '\0') {
      problem = "NUL byte in the document";
      return at;
    }
    const std::size_t length = Utf8Length(document, at);
    if (length == 0) {
      const auto byte = static_cast<unsigned char>(document[at]);
      problem = std::string("invalid UTF-8 at byte 0x") + kHex[byte >> 4] + kHex[byte & 0x0F];
      return at;
    }
    at += length;
  }
  return std::string::npos;
}

struct EnvDeleter {
  void operator()(SerdEnv* env) const { serd_env_free(env); }
};
struct ReaderDeleter {
  void operator()(SerdReader* reader) const { serd_reader_free(reader); }
};

// One parse of the document. serd places its own errors; for the problems
// that only the statement handler sees (an undefined prefix, a relative IRI
// without a base) the place is how far the document has been handed to
// serd, which is exact only when it is handed over a byte at a time
// (`pageSize` 1). ReadRdf therefore reads by pages and, only when such a
// problem turns up, reads again byte by byte to place it.
class Parse {
 public:
  Parse(const std::string& document, const std::string& sourceName, std::size_t pageSize,
        RdfStatements& out)
      : document_(document), sourceName_(sourceName), pageSize_(pageSize), out_(out), sink_(out) {}

  // True when the parse failed on a problem that it placed only roughly.
  bool FailedInHandler() const { return failedInHandler_; }

  bool Run(RdfSyntax syntax, const std::string& baseIri, std::string& error) {
    std::string problem;
    const std::size_t bad = FindBadByte(document_, problem);
    if (bad != std::string::npos) {
      Fail(bad, problem);
      error = error_;
      return false;
    }
    const std::size_t deep = FindNestingDeeperThan(document_, kMaxNestingDepth);
    if (deep != std::string::npos) {
      Fail(deep, "blank nodes and collections nest deeper than " +
                     std::to_string(kMaxNestingDepth) + " levels");
      error = error_;
      return false;
    }
    const SerdNode base =
        serd_node_from_string(SERD_URI, reinterpret_cast<const uint8_t*>(baseIri.c_str()));
    env_.reset(serd_env_new(baseIri.empty() ? nullptr : &base));
    const std::unique_ptr<SerdReader, ReaderDeleter> reader(
        serd_reader_new(ToSerd(syntax), this, nullptr, &Parse::OnBase, &Parse::OnPrefix,
                        &Parse::OnStatement, nullptr));
    serd_reader_set_strict(reader.get(), true);
    serd_reader_set_error_sink(reader.get(), &Parse::OnError, this);
    const SerdStatus status =
        serd_reader_read_source(reader.get(), &Parse::ReadPage, &Parse::StreamError, this,
                                reinterpret_cast<const uint8_t*>(sourceName_.c_str()), pageSize_);
    if (error_.empty() && status != SERD_SUCCESS && status != SERD_FAILURE) {
      failedInHandler_ = true;
      Fail(Standing(), reinterpret_cast<const char*>(serd_strerror(status)));
    }
    error = error_;
    return error_.empty();
  }

 private:
  static size_t ReadPage(void* buffer, size_t size, size_t count, void* stream) {
    auto* const self = static_cast<Parse*>(stream);
    const std::size_t wanted = size * count;
    if (wanted == 0 || self->offset_ >= self->document_.size()) return 0;
    std::size_t given = self->document_.size() - self->offset_;
    if (given > wanted) given = wanted;
    std::memcpy(buffer, self->document_.data() + self->offset_, given);
    self->offset_ += given;
    return given / size;
  }

  static int StreamError(void*) { return 0; }

  static SerdStatus OnError(void* handle, const SerdError* problem) {
    auto* const self = static_cast<Parse*>(handle);
    if (!self->error_.empty()) return SERD_SUCCESS;
    char text[512];
    va_list args;
    va_copy(args, *problem->args);
    const int written = std::vsnprintf(text, sizeof(text), problem->fmt, args);
    va_end(args);
    std::string message = written < 0 ? std::string("syntax error") : std::string(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
      message.pop_back();
    }
    // serd counts columns from 0; people and editors count from 1.
    self->error_ = self->sourceName_ + ":" + std::to_string(problem->line) + ":" +
                   std::to_string(problem->col + 1ul) + ": " + message;
    return SERD_SUCCESS;
  }

  static SerdStatus OnBase(void* handle, const SerdNode* uri) {
    auto* const self = static_cast<Parse*>(handle);
    std::string iri;
    if (!self->Expand(*uri, iri)) return SERD_ERR_BAD_ARG;
    const SerdNode absolute =
        serd_node_from_string(SERD_URI, reinterpret_cast<const uint8_t*>(iri.c_str()));
    return serd_env_set_base_uri(self->env_.get(), &absolute);
  }

  static SerdStatus OnPrefix(void* handle, const SerdNode* name, const SerdNode* uri) {
    auto* const self = static_cast<Parse*>(handle);
    std::string iri;
    if (!self->Expand(*uri, iri)) return SERD_ERR_BAD_ARG;
    const SerdNode absolute =
        serd_node_from_string(SERD_URI, reinterpret_cast<const uint8_t*>(iri.c_str()));
    self->sink_.Prefix(Label(*name), iri);
    if (self->OverBudget()) return SERD_ERR_BAD_ARG;
    return serd_env_set_prefix(self->env_.get(), name, &absolute);
  }

  static SerdStatus OnStatement(void* handle, SerdStatementFlags, const SerdNode*,
                                const SerdNode* subject, const SerdNode* predicate,
                                const SerdNode* object, const SerdNode* datatype,
                                const SerdNode* language) {
    auto* const self = static_cast<Parse*>(handle);
    // Every IRI is expanded, used or not, so that a bad one anywhere fails.
    Expanded subjectIri;
    Expanded predicateIri;
    Expanded objectIri;
    Expanded datatypeIri;
    const bool blankSubject = subject->type == SERD_BLANK;
    const bool objectIsIri = object->type == SERD_URI || object->type == SERD_CURIE;
    if ((!blankSubject && !self->Expand(*subject, subjectIri)) ||
        !self->Expand(*predicate, predicateIri) ||
        (objectIsIri && !self->Expand(*object, objectIri)) ||
        (datatype != nullptr && datatype->buf != nullptr &&
         !self->Expand(*datatype, datatypeIri))) {
      return SERD_ERR_BAD_ARG;
    }
    const Term subjectTerm =
        blankSubject ? Term::Blank(Label(*subject)) : Term::Iri(subjectIri.iri);
    Term objectTerm;
    if (objectIsIri) {
      objectTerm = Term::Iri(objectIri.iri);
    } else if (object->type == SERD_BLANK) {
      objectTerm = Term::Blank(Label(*object));
    } else {
      objectTerm = Term::Literal(Label(*object),
                                 language == nullptr ? std::string_view() : Label(*language));
    }
    self->sink_.Statement(subjectTerm, predicateIri.iri, objectTerm);
    return self->OverBudget() ? SERD_ERR_BAD_ARG : SERD_SUCCESS;
  }

  // True, with the refusal as the error, once what the statements keep has
  // exhausted the load's budget. The refusal names no place: the whole
  // document is too dense, not one statement wrong.
  bool OverBudget() {
    if (!out_.Budget().Exhausted()) return false;
    if (error_.empty()) error_ = out_.Budget().Refusal(sourceName_);
    return true;
  }

  static std::string_view Label(const SerdNode& node) {
    return node.buf == nullptr
               ? std::string_view()
               : std::string_view(reinterpret_cast<const char*>(node.buf), node.n_bytes);
  }

  // An IRI as a statement handler needs it: the node's own text when that is
  // already absolute, else the expansion, kept in `storage`.
  struct Expanded {
    std::string storage;
    std::string_view iri;
  };

  // Expands a prefixed name or resolves a relative IRI against the base. An
  // absolute IRI resolves to itself (resolution copies a reference that has
  // a scheme unchanged), so it is taken as it stands, without a copy.
  bool Expand(const SerdNode& node, Expanded& out) {
    if (node.type == SERD_URI && node.buf != nullptr) {
      const std::string_view text(reinterpret_cast<const char*>(node.buf), node.n_bytes);
      if (HasScheme(text)) {
        out.iri = text;
        return true;
      }
    }
    SerdNode expanded = serd_env_expand_node(env_.get(), &node);
    if (expanded.buf == nullptr) {
      failedInHandler_ = true;
      Fail(Standing(), node.type == SERD_CURIE ? "undefined prefix in \"" + NodeText(node) + "\""
                                               : "cannot resolve the IRI <" + NodeText(node) + ">");
      return false;
    }
    out.storage = NodeText(expanded);
    serd_node_free(&expanded);
    out.iri = out.storage;
    if (!HasScheme(out.iri)) {
      failedInHandler_ = true;
      Fail(Standing(), "relative IRI <" + out.storage + "> and no base IRI to resolve it against");
      return false;
    }
    return true;
  }

  // Expands into a string, for the base and prefix handlers.
  bool Expand(const SerdNode& node, std::string& iri) {
    Expanded expanded;
    if (!Expand(node, expanded)) return false;
    iri.assign(expanded.iri);
    return true;
  }

  // The byte the parser stands on: the last one it was handed (it looks one
  // byte ahead, so for a problem found in a statement this is the byte just
  // after the statement's last term).
  std::size_t Standing() const { return offset_ == 0 ? 0 : offset_ - 1; }

  // Records the first problem, placed at byte `at` of the document.
  void Fail(std::size_t at, const std::string& what) {
    if (!error_.empty()) return;
    std::size_t line = 1;
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < at && i < document_.size(); ++i) {
      if (document_[i] == '\n') {
        ++line;
        lineStart = i + 1;
      }
    }
    error_ = sourceName_ + ":" + std::to_string(line) + ":" + std::to_string(at - lineStart + 1) +
             ": " + what;
  }

  const std::string& document_;
  const std::string& sourceName_;
  const std::size_t pageSize_;
  RdfStatements& out_;
  StatementSink sink_;
  std::unique_ptr<SerdEnv, EnvDeleter> env_;
  std::size_t offset_ = 0;
  std::string error_;
  bool failedInHandler_ = false;
};

}  // namespace

bool ReadRdf(const std::string& document, RdfSyntax syntax, const std::string& sourceName,
             const std::string& baseIri, RdfStatements& out, std::string& error) {
  constexpr std::size_t kPageSize = 4096;
  Parse parse(document, sourceName, kPageSize, out);
  if (parse.Run(syntax, baseIri, error)) return true;
  if (parse.FailedInHandler()) {
    // The same charges as the first parse, which failed before its budget
    // was spent.
    LoadBudget budget(document.size());
    budget.Charge(document.size());
    RdfStatements discarded(budget);
    Parse placing(document, sourceName, 1, discarded);
    placing.Run(syntax, baseIri, error);
  }
  return false;
}

}  // namespace Rdf
}  // namespace Ontology
}  // namespace QAX
