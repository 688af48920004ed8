#include "host/qax/rdf/RdfReader.h"

#include <serd/serd.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "host/qax/rdf/DiscardingHandler.h"
#include "host/qax/rdf/NestingDepth.h"
#include "host/qax/rdf/TermCheck.h"
#include "host/qax/rdf/TripleHandler.h"
#include "host/qax/rdf/Utf8Scan.h"

namespace qaxoi::rdf {

using qaxoi::Status;

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
  // Nearly every IRI of a vocabulary is http or https: told without the scan.
  constexpr std::string_view kHttp = "http:";
  constexpr std::string_view kHttps = "https:";
  if (iri.size() > kHttps.size() &&
      (iri.compare(0, kHttp.size(), kHttp) == 0 || iri.compare(0, kHttps.size(), kHttps) == 0)) {
    return true;
  }
  if (iri.empty() || !IsAsciiLetter(static_cast<unsigned char>(iri[0]))) return false;
  for (std::size_t i = 1; i < iri.size(); ++i) {
    const auto byte = static_cast<unsigned char>(iri[i]);
    if (byte == ':') return true;
    if (!kSchemeBytes.holds[byte]) return false;
  }
  return false;
}

// The last `byte` among `bytes`, or null.
const void* Memrchr(const char* bytes, char byte, std::size_t size) {
  for (std::size_t at = size; at > 0; --at) {
    if (bytes[at - 1] == byte) return bytes + at - 1;
  }
  return nullptr;
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
        std::size_t pageSize, TripleHandler& handler)
      : source_(source),
        sourceName_(sourceName),
        pageSize_(pageSize),
        checkNesting_(syntax == RdfSyntax::kTurtle),
        segmented_(syntax == RdfSyntax::kNQuads),
        sink_(handler) {}

  // True when the parse failed on a problem that it placed only roughly.
  bool FailedInHandler() const { return failedInHandler_; }

  Status Run(RdfSyntax syntax, const std::string& baseIri) {
    const SerdNode base =
        serd_node_from_string(SERD_URI, reinterpret_cast<const uint8_t*>(baseIri.c_str()));
    env_.reset(serd_env_new(baseIri.empty() ? nullptr : &base));
    SerdStatus status = SERD_SUCCESS;
    // One reader per segment; a document that is not cut into segments is
    // one segment. A segment ends where ReadPage stops handing bytes (with
    // segmentEnded_) or with the document.
    do {
      segmentStart_ = offset_;
      segmentEnded_ = false;
      const std::unique_ptr<SerdReader, ReaderDeleter> reader(
          serd_reader_new(ToSerd(syntax), this, nullptr, &Parse::OnBase, &Parse::OnPrefix,
                          &Parse::OnStatement, nullptr));
      serd_reader_set_strict(reader.get(), true);
      serd_reader_set_error_sink(reader.get(), &Parse::OnError, this);
      status =
          serd_reader_read_source(reader.get(), &Parse::ReadPage, &Parse::StreamError, this,
                                  reinterpret_cast<const uint8_t*>(sourceName_.c_str()), pageSize_);
    } while (segmentEnded_ && !ended_ && status == SERD_SUCCESS && error_.empty() &&
             !serdProblem_.found);
    if (error_.empty()) Decide(status);
    return error_.empty() ? Status::Ok() : Status::WithCode(errorCode_, error_);
  }

 private:
  // What serd reported first: where (line from 1, column from 0) and what.
  struct SerdProblem {
    bool found = false;
    unsigned line = 0;  // within the segment that starts at byte `segment`
    unsigned column = 0;
    std::size_t segment = 0;
    std::string what;
  };

  // Chooses the error of a parse that no handler stopped: a failed read,
  // else the first of serd's error and the checks' problem, else a failure
  // serd gave no message for.
  void Decide(SerdStatus status) {
    if (!read_.ok()) {
      error_ = read_.message();
      errorCode_ = read_.code();
      return;
    }
    if (problemAt_ != kNoProblem) {
      // serd saw the document only up to the problem; an error of serd's
      // before it is an error of the document, one at it comes of the cut.
      if (serdProblem_.found) {
        const Place place = PlaceOf(problemAt_);
        const std::size_t line = SerdProblemLine();
        if (line < place.line || (line == place.line && SerdProblemColumn() < place.column)) {
          ReportSerdProblem();
          return;
        }
      }
      Fail(problemAt_, problem_);
      errorCode_ = problemCode_;
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

  // The document's line of serd's problem: serd counts the lines of its
  // segment, which starts a line.
  std::size_t SerdProblemLine() {
    if (serdProblem_.segment == 0) return serdProblem_.line;
    return PlaceOf(serdProblem_.segment).line - 1 + serdProblem_.line;
  }

  // The column of serd's problem, counted from 1. serd counts from 0, but
  // starts its first line at 1.
  std::size_t SerdProblemColumn() const {
    return serdProblem_.line == 1 ? serdProblem_.column : serdProblem_.column + std::size_t{1};
  }

  void ReportSerdProblem() {
    error_ = sourceName_ + ":" + std::to_string(SerdProblemLine()) + ":" +
             std::to_string(SerdProblemColumn()) + ": " + serdProblem_.what;
  }

  // Hands serd the next page of the document, checked; a page is cut before
  // the first problem the checks find, and nothing is handed after it.
  static size_t ReadPage(void* buffer, size_t size, size_t count, void* stream) {
    auto* const self = static_cast<Parse*>(stream);
    const std::size_t wanted = size * count;
    if (wanted == 0 || self->ended_ || self->segmentEnded_) return 0;
    char* const bytes = static_cast<char*>(buffer);
    std::size_t got = 0;
    self->read_ = self->source_.Read(self->offset_, bytes, wanted, got);
    if (!self->read_.ok()) {
      self->ended_ = true;
      return 0;
    }
    const bool atEnd = got < wanted;
    if (self->segmented_ && !atEnd && self->offset_ - self->segmentStart_ + got >= kSegmentBytes) {
      // The segment ends after the page's last line; what follows is read
      // again for the next segment. A statement never spans lines here, so
      // the cut falls between statements (and never inside a character).
      const void* const newline = Memrchr(bytes, '\n', got);
      if (newline != nullptr) {
        got = static_cast<std::size_t>(static_cast<const char*>(newline) - bytes) + 1;
        self->segmentEnded_ = true;
      }
    }
    std::size_t given = self->Check(bytes, got, atEnd);
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
    Status::Code code = Status::Code::kInvalidInput;
    std::size_t at = utf8_.Feed(bytes, size, problem);
    if (checkNesting_) {
      const std::size_t deep = nesting_.Feed(bytes, size);
      if (deep < at) {
        at = deep;
        code = Status::Code::kResourceExhausted;
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
    problemCode_ = code;
    return at > offset_ ? at - offset_ : 0;
  }

  static int StreamError(void* stream) {
    return static_cast<const Parse*>(stream)->read_.ok() ? 0 : 1;
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
    self->serdProblem_ =
        SerdProblem{true, problem->line, problem->col, self->segmentStart_, std::move(message)};
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
    const std::string fault = TermFault(Term::Iri(iri));
    if (!fault.empty()) {
      self->failedInHandler_ = true;
      self->Fail(self->Standing(), fault);
      return SERD_ERR_BAD_ARG;
    }
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
    std::string_view subjectIri;
    std::string_view predicateIri;
    std::string_view objectIri;
    std::string_view datatypeIri;
    const bool blankSubject = subject->type == SERD_BLANK;
    const bool objectIsIri = object->type == SERD_URI || object->type == SERD_CURIE;
    if ((!blankSubject && !self->Expand(*subject, subjectIri, self->expanded_[0])) ||
        !self->Expand(*predicate, predicateIri, self->expanded_[1]) ||
        (objectIsIri && !self->Expand(*object, objectIri, self->expanded_[2])) ||
        (datatype != nullptr && datatype->buf != nullptr &&
         !self->Expand(*datatype, datatypeIri, self->expanded_[3]))) {
      return SERD_ERR_BAD_ARG;
    }
    const Term subjectTerm = blankSubject ? Term::Blank(Label(*subject)) : Term::Iri(subjectIri);
    Term objectTerm;
    if (objectIsIri) {
      objectTerm = Term::Iri(objectIri);
    } else if (object->type == SERD_BLANK) {
      objectTerm = Term::Blank(Label(*object));
    } else {
      objectTerm = Term::Literal(
          Label(*object), language == nullptr ? std::string_view() : Label(*language), datatypeIri);
    }
    // serd decodes escapes without looking at what they stand for
    // ("\uD800"), and leaves language tags to the grammar alone.
    for (const Term& term : {subjectTerm, Term::Iri(predicateIri), objectTerm}) {
      const std::string fault = TermFault(term);
      if (!fault.empty()) {
        self->failedInHandler_ = true;
        self->Fail(self->Standing(), fault);
        return SERD_ERR_BAD_ARG;
      }
    }
    self->sink_.Statement(subjectTerm, predicateIri, objectTerm);
    return self->OverBudget() ? SERD_ERR_BAD_ARG : SERD_SUCCESS;
  }

  // True, with the refusal as the error, once what the statements keep has
  // exhausted the load's budget. The refusal names no place: the whole
  // document is too dense, not one statement wrong.
  bool OverBudget() {
    if (!sink_.Budget().Exhausted()) return false;
    if (error_.empty()) {
      error_ = sink_.Budget().Refusal(sourceName_);
      errorCode_ = Status::Code::kResourceExhausted;
    }
    return true;
  }

  static std::string_view Label(const SerdNode& node) {
    return node.buf == nullptr
               ? std::string_view()
               : std::string_view(reinterpret_cast<const char*>(node.buf), node.n_bytes);
  }

  // Expands a prefixed name or resolves a relative IRI against the base,
  // into `iri`: the node's own text when that is already absolute, else the
  // expansion, kept in `storage`. An absolute IRI resolves to itself
  // (resolution copies a reference that has a scheme unchanged), so it is
  // taken as it stands, without a copy.
  bool Expand(const SerdNode& node, std::string_view& iri, std::string& storage) {
    if (node.type == SERD_URI && node.buf != nullptr) {
      const std::string_view text(reinterpret_cast<const char*>(node.buf), node.n_bytes);
      if (HasScheme(text)) {
        iri = text;
        return true;
      }
    }
    return ExpandWithEnvironment(node, iri, storage);
  }

  // Expand for what is not an absolute IRI as written: a prefixed name or a
  // relative IRI. Apart, so that the common case stays small.
  bool ExpandWithEnvironment(const SerdNode& node, std::string_view& iri, std::string& storage) {
    SerdNode expanded = serd_env_expand_node(env_.get(), &node);
    if (expanded.buf == nullptr) {
      failedInHandler_ = true;
      Fail(Standing(), node.type == SERD_CURIE ? "undefined prefix in \"" + NodeText(node) + "\""
                                               : "cannot resolve the IRI <" + NodeText(node) + ">");
      return false;
    }
    storage = NodeText(expanded);
    serd_node_free(&expanded);
    iri = storage;
    if (!HasScheme(iri)) {
      failedInHandler_ = true;
      Fail(Standing(), "relative IRI <" + storage + "> and no base IRI to resolve it against");
      return false;
    }
    return true;
  }

  // Expands into a string, for the base and prefix handlers.
  bool Expand(const SerdNode& node, std::string& iri) {
    std::string_view expanded;
    if (!Expand(node, expanded, iri)) return false;
    if (expanded.data() != iri.data()) iri.assign(expanded);
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
      const std::size_t want = at - from < kChunkBytes ? at - from : kChunkBytes;
      // A read that fails here only leaves the place rougher: the problem
      // placed is the document's, reported either way.
      if (!source_.Read(from, chunk.data(), want, got).ok() || got == 0) break;
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
  const bool segmented_;  // N-Quads: read in segments (see kSegmentBytes)
  TripleHandler& sink_;
  std::unique_ptr<SerdEnv, EnvDeleter> env_;
  Utf8Scan utf8_;
  NestingScan nesting_{kMaxNestingDepth};
  std::size_t offset_ = 0;  // bytes handed to serd
  bool ended_ = false;      // nothing more is handed
  // N-Quads are read in segments of whole lines, each by a reader of its
  // own: serd's N-Quads reader keeps part of every statement on its stack
  // until the document ends, so that a document read by one reader would
  // cost about twice its size besides, and copies of it as the stack grows.
  static constexpr std::size_t kSegmentBytes = std::size_t{64} << 10;
  std::size_t segmentStart_ = 0;  // the byte the current segment starts at
  bool segmentEnded_ = false;     // the current segment is handed whole
  std::size_t problemAt_ = kNoProblem;
  std::string problem_;
  Status::Code problemCode_ = Status::Code::kInvalidInput;
  Status read_;
  SerdProblem serdProblem_;
  std::string error_;
  // What kind of failure error_ is: the document's, unless a bound or the
  // source decided otherwise.
  Status::Code errorCode_ = Status::Code::kInvalidInput;
  bool failedInHandler_ = false;
  // Where a statement's subject, predicate, object and datatype IRIs are
  // expanded when they are not absolute as written; reused, so that a
  // statement of absolute IRIs allocates nothing.
  std::string expanded_[4];
};

}  // namespace

Status ReadRdf(DocumentSource& source, RdfSyntax syntax, const std::string& sourceName,
               const std::string& baseIri, TripleHandler& handler) {
  Parse parse(source, syntax, sourceName, PageBytes(source.Size()), handler);
  Status status = parse.Run(syntax, baseIri);
  if (!status.ok() && parse.FailedInHandler()) {
    // The first parse failed before its budget was spent, so the second
    // need keep nothing. Should it not fail (a file changed since), the
    // first one's error stands.
    DiscardingHandler discarded(source.Size());
    Parse placing(source, syntax, sourceName, 1, discarded);
    Status placed = placing.Run(syntax, baseIri);
    if (!placed.ok()) status = std::move(placed);
  }
  return status;
}

Status ReadRdf(const std::string& document, RdfSyntax syntax, const std::string& sourceName,
               const std::string& baseIri, TripleHandler& handler) {
  TextSource source(document);
  return ReadRdf(source, syntax, sourceName, baseIri, handler);
}

}  // namespace qaxoi::rdf
