#include "host/qax/rdf/RdfReader.h"

#include <serd/serd.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "host/qax/rdf/NestingDepth.h"
#include "host/qax/rdf/StatementSink.h"
#include "host/qax/rdf/Utf8Scan.h"

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

constexpr bool IsAsciiLetter(int byte) {
  return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z');
}

// Bytes that may follow a scheme's first letter: letters, digits, '+', '-'
// and '.'.
struct SchemeBytes {
  bool holds[256];
};
constexpr SchemeBytes MakeSchemeBytes() {
  SchemeBytes table{};
  for (int byte = 0; byte < 256; ++byte) {
    table.holds[byte] = IsAsciiLetter(byte) || (byte >= '0' && byte <= '9') || byte == '+' ||
                        byte == '-' || byte == '.';
  }
  return table;
}
constexpr SchemeBytes kSchemeBytes = MakeSchemeBytes();

// True when `iri` starts with a scheme ("http:", "urn:", ...), i.e. is not a
// relative reference. Every IRI of a statement is looked at, so by a table.
bool HasScheme(std::string_view iri) {
  if (iri.empty() || !IsAsciiLetter(static_cast<unsigned char>(iri[0]))) return false;
  for (std::size_t i = 1; i < iri.size(); ++i) {
    const auto byte = static_cast<unsigned char>(iri[i]);
    if (byte == ':') return true;
    if (!kSchemeBytes.holds[byte]) return false;
  }
  return false;
}

// The bytes handed to serd at a time: a document of up to kMaxPageBytes in
// one page (serd allocates a page's bytes once per parse), a larger one in
// pages of that size, so that a large file costs few reads.
std::size_t PageBytes(std::uint64_t documentBytes) {
  constexpr std::size_t kMinPageBytes = std::size_t{4} << 10;
  constexpr std::size_t kMaxPageBytes = std::size_t{64} << 10;
  if (documentBytes < kMinPageBytes) return kMinPageBytes;
  if (documentBytes > kMaxPageBytes) return kMaxPageBytes;
  return static_cast<std::size_t>(documentBytes);
}

struct EnvDeleter {
  void operator()(SerdEnv* env) const { serd_env_free(env); }
};
struct ReaderDeleter {
  void operator()(SerdReader* reader) const { serd_reader_free(reader); }
};

// One parse of the document. The document is handed to serd a page at a
// time, and every page is checked first (NUL bytes, malformed UTF-8 and, for
// Turtle, nesting deeper than serd's stack may go), so that serd never sees
// a bad byte: a page with one is cut before it, which serd takes as the
// document's end, and the first problem in document order is reported,
// serd's or the check's. serd places its own errors; for the problems that
// only the statement handler sees (an undefined prefix, a relative IRI
// without a base) the place is how far the document has been handed to
// serd, which is exact only when it is handed over a byte at a time
// (`pageSize` 1). ReadRdf therefore reads by pages and, only when such a
// problem turns up, reads again byte by byte to place it.
class Parse {
 public:
  Parse(DocumentSource& source, RdfSyntax syntax, const std::string& sourceName,
        std::size_t pageSize, RdfStatements& out)
      : source_(source),
        sourceName_(sourceName),
        pageSize_(pageSize),
        checkNesting_(syntax == RdfSyntax::kTurtle),
        out_(out),
        sink_(out) {}

  // True when the parse failed on a problem that it placed only roughly.
  bool FailedInHandler() const { return failedInHandler_; }

  bool Run(RdfSyntax syntax, const std::string& baseIri, std::string& error) {
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
    if (error_.empty()) Decide(status);
    error = error_;
    return error_.empty();
  }

 private:
  // What serd reported first: where (line from 1, column from 0) and what.
  struct SerdProblem {
    bool found = false;
    unsigned line = 0;
    unsigned column = 0;
    std::string what;
  };

  // Chooses the error of a parse that no handler stopped: a failed read,
  // else the first of serd's error and the checks' problem, else a failure
  // serd gave no message for.
  void Decide(SerdStatus status) {
    if (!readError_.empty()) {
      error_ = readError_;
      return;
    }
    if (problemAt_ != kNoProblem) {
      // serd saw the document only up to the problem; an error of serd's
      // before it is an error of the document, one at it comes of the cut.
      if (serdProblem_.found) {
        const Place place = PlaceOf(problemAt_);
        if (serdProblem_.line < place.line ||
            (serdProblem_.line == place.line && serdProblem_.column + 1ul < place.column)) {
          ReportSerdProblem();
          return;
        }
      }
      Fail(problemAt_, problem_);
      return;
    }
    if (serdProblem_.found) {
      ReportSerdProblem();
      return;
    }
    if (status != SERD_SUCCESS && status != SERD_FAILURE) {
      failedInHandler_ = true;
      Fail(Standing(), reinterpret_cast<const char*>(serd_strerror(status)));
    }
  }

  void ReportSerdProblem() {
    // serd counts columns from 0; people and editors count from 1.
    error_ = sourceName_ + ":" + std::to_string(serdProblem_.line) + ":" +
             std::to_string(serdProblem_.column + 1ul) + ": " + serdProblem_.what;
  }

  // Hands serd the next page of the document, checked; a page is cut before
  // the first problem the checks find, and nothing is handed after it.
  static size_t ReadPage(void* buffer, size_t size, size_t count, void* stream) {
    auto* const self = static_cast<Parse*>(stream);
    const std::size_t wanted = size * count;
    if (wanted == 0 || self->ended_) return 0;
    char* const bytes = static_cast<char*>(buffer);
    std::size_t got = 0;
    if (!self->source_.Read(self->offset_, bytes, wanted, got, self->readError_)) {
      self->ended_ = true;
      return 0;
    }
    std::size_t given = self->Check(bytes, got, got < wanted);
    // serd reads in whole elements of `size` bytes; it asks for bytes.
    given -= given % size;
    self->offset_ += given;
    return given / size;
  }

  // Checks the `size` bytes that follow what was handed so far (the last of
  // the document when `atEnd`) and answers how many of them may be handed
  // to serd.
  std::size_t Check(const char* bytes, std::size_t size, bool atEnd) {
    std::string problem;
    std::size_t at = utf8_.Feed(bytes, size, problem);
    if (checkNesting_) {
      const std::size_t deep = nesting_.Feed(bytes, size);
      if (deep < at) {
        at = deep;
        problem = "blank nodes and collections nest deeper than " +
                  std::to_string(kMaxNestingDepth) + " levels";
      }
    }
    if (at == kNoProblem && atEnd) at = utf8_.Finish(problem);
    if (atEnd) ended_ = true;
    if (at == kNoProblem) return size;
    ended_ = true;
    problemAt_ = at;
    problem_ = problem;
    return at > offset_ ? at - offset_ : 0;
  }

  static int StreamError(void* stream) {
    return static_cast<const Parse*>(stream)->readError_.empty() ? 0 : 1;
  }

  static SerdStatus OnError(void* handle, const SerdError* problem) {
    auto* const self = static_cast<Parse*>(handle);
    if (self->serdProblem_.found) return SERD_SUCCESS;
    char text[512];
    va_list args;
    va_copy(args, *problem->args);
    const int written = std::vsnprintf(text, sizeof(text), problem->fmt, args);
    va_end(args);
    std::string message = written < 0 ? std::string("syntax error") : std::string(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) {
      message.pop_back();
    }
    self->serdProblem_ = SerdProblem{true, problem->line, problem->col, std::move(message)};
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
      objectTerm =
          Term::Literal(Label(*object), language == nullptr ? std::string_view() : Label(*language),
                        datatypeIri.iri);
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

  // A place in the document, line and column counted from 1.
  struct Place {
    std::size_t line = 1;
    std::size_t column = 1;
  };

  // The place of byte `at`, found by reading the document again up to it.
  Place PlaceOf(std::size_t at) {
    constexpr std::size_t kChunkBytes = std::size_t{64} << 10;
    std::string chunk(kChunkBytes, '\0');
    Place place;
    std::size_t lineStart = 0;
    for (std::size_t from = 0; from < at;) {
      std::size_t got = 0;
      std::string ignored;
      const std::size_t want = at - from < kChunkBytes ? at - from : kChunkBytes;
      if (!source_.Read(from, chunk.data(), want, got, ignored) || got == 0) break;
      for (std::size_t i = 0; i < got; ++i) {
        if (chunk[i] == '\n') {
          ++place.line;
          lineStart = from + i + 1;
        }
      }
      from += got;
    }
    place.column = at - lineStart + 1;
    return place;
  }

  // Records the first problem, placed at byte `at` of the document.
  void Fail(std::size_t at, const std::string& what) {
    if (!error_.empty()) return;
    const Place place = PlaceOf(at);
    error_ = sourceName_ + ":" + std::to_string(place.line) + ":" + std::to_string(place.column) +
             ": " + what;
  }

  static constexpr std::size_t kNoProblem = Utf8Scan::kNone;

  DocumentSource& source_;
  const std::string& sourceName_;
  const std::size_t pageSize_;
  const bool checkNesting_;
  RdfStatements& out_;
  StatementSink sink_;
  std::unique_ptr<SerdEnv, EnvDeleter> env_;
  Utf8Scan utf8_;
  NestingScan nesting_{kMaxNestingDepth};
  std::size_t offset_ = 0;  // bytes handed to serd
  bool ended_ = false;      // nothing more is handed
  std::size_t problemAt_ = kNoProblem;
  std::string problem_;
  std::string readError_;
  SerdProblem serdProblem_;
  std::string error_;
  bool failedInHandler_ = false;
};

}  // namespace

bool ReadRdf(DocumentSource& source, RdfSyntax syntax, const std::string& sourceName,
             const std::string& baseIri, RdfStatements& out, std::string& error) {
  Parse parse(source, syntax, sourceName, PageBytes(source.Size()), out);
  if (parse.Run(syntax, baseIri, error)) return true;
  if (parse.FailedInHandler()) {
    // The same charges as the first parse, which failed before its budget
    // was spent. Should the second parse not fail (a file changed since),
    // the first one's error stands.
    LoadBudget budget(source.Size());
    budget.Charge(source.Size());
    RdfStatements discarded(budget);
    Parse placing(source, syntax, sourceName, 1, discarded);
    std::string placed;
    if (!placing.Run(syntax, baseIri, placed)) error = placed;
  }
  return false;
}

bool ReadRdf(const std::string& document, RdfSyntax syntax, const std::string& sourceName,
             const std::string& baseIri, RdfStatements& out, std::string& error) {
  TextSource source(document);
  return ReadRdf(source, syntax, sourceName, baseIri, out, error);
}

}  // namespace Rdf
}  // namespace Ontology
}  // namespace QAX
