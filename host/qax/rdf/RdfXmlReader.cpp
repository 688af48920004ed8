#include "host/qax/rdf/RdfXmlReader.h"

#include <raptor2.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "host/qax/rdf/DiscardingHandler.h"
#include "host/qax/rdf/TermCheck.h"
#include "host/qax/rdf/TripleHandler.h"
#include "host/qax/rdf/XmlBounds.h"

namespace qaxoi::rdf {
namespace {

// The document is handed to the parser in pages of this size.
constexpr std::size_t kPageSize = std::size_t{64} << 10;
// The base the parser is given when there is none (raptor's RDF/XML parser
// needs one): a scheme no IRI has, so that every IRI resolved against it
// shows it and is refused as relative.
constexpr std::string_view kNoBase = "x-qax-no-base:";
// What raptor puts before each of libxml2's messages.
constexpr std::string_view kXmlErrorPrefix = "XML parser error: ";
// libxml2 names the line of an open tag, which raptor does not keep.
constexpr std::string_view kUnknownLine = " line 0 and ";

struct WorldDeleter {
  void operator()(raptor_world* world) const { raptor_free_world(world); }
};
struct ParserDeleter {
  void operator()(raptor_parser* parser) const { raptor_free_parser(parser); }
};
struct UriDeleter {
  void operator()(raptor_uri* uri) const { raptor_free_uri(uri); }
};

// raptor sets up libxml2 (xmlInitParser) for each world and tears it down
// (xmlCleanupParser) when the world is freed; both act on the whole process.
// So one world lives at a time: loads of RDF/XML on several threads take
// turns.
std::mutex& WorldTurn() {
  static std::mutex turn;
  return turn;
}

std::string_view UriText(raptor_uri* uri) {
  std::size_t length = 0;
  const unsigned char* text = raptor_uri_as_counted_string(uri, &length);
  return text == nullptr ? std::string_view()
                         : std::string_view(reinterpret_cast<const char*>(text), length);
}

// `text` as one line: libxml2 ends its messages with a line break and puts
// some of their parts on lines of their own, while a message here is one
// line. Each run of white space becomes one space; none is left at the ends.
std::string OneLine(const std::string& text) {
  std::string line;
  line.reserve(text.size());
  bool space = false;
  for (const char c : text) {
    if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
      space = !line.empty();
      continue;
    }
    if (space) line.push_back(' ');
    space = false;
    line.push_back(c);
  }
  return line;
}

// "<line>:<column>" of byte `at` of `document`, both counted from 1.
std::string Place(const std::string& document, std::size_t at) {
  std::size_t line = 1;
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i < at && i < document.size(); ++i) {
    if (document[i] == '\n') {
      ++line;
      lineStart = i + 1;
    }
  }
  return std::to_string(line) + ":" + std::to_string(at - lineStart + 1);
}

// One parse of the document with a world of its own. Errors are placed where
// the parser stood when it found them: the last byte handed to it. That is
// exact only when bytes are handed one at a time, so ReadRdfXml reads by
// pages and, only on an error, reads again up to the page where it turned up
// and then byte by byte. libxml2 takes a tag once its '>' has come, so a
// problem in a tag or in a statement that a tag ends is placed at that '>'.
class Parse {
 public:
  Parse(const std::string& document, const std::string& sourceName, TripleHandler& handler,
        std::vector<std::string>* warnings)
      : document_(document), sourceName_(sourceName), sink_(handler), warnings_(warnings) {}

  // Parses the document, by pages up to `exactFrom` and by single bytes
  // after it. False on any problem, with error() set.
  bool Run(const std::string& baseIri, std::size_t exactFrom) {
    std::unique_lock<std::mutex> turn(WorldTurn());
    if (!Start(baseIri)) {
      Free();
      return false;
    }
    for (std::size_t at = 0; at < document_.size() && !stopped_;) {
      const std::size_t length =
          at >= exactFrom ? 1 : std::min({kPageSize, document_.size() - at, exactFrom - at});
      pageStart_ = at;
      offset_ = at + length;
      if (raptor_parser_parse_chunk(parser_.get(),
                                    reinterpret_cast<const unsigned char*>(document_.data() + at),
                                    length, 0) != 0) {
        Fail("the document is not well-formed RDF/XML");
      }
      at = offset_;
    }
    if (!stopped_ && raptor_parser_parse_chunk(parser_.get(), nullptr, 0, 1) != 0) {
      Fail("the document is not well-formed RDF/XML");
    }
    Free();
    turn.unlock();
    if (outOfMemory_) throw std::bad_alloc();
    if (hiddenWarnings_ > 0) {
      warnings_->push_back(sourceName_ + ": " + std::to_string(hiddenWarnings_) +
                           " more warnings of the XML parser");
    }
    return error_.empty();
  }

  // The failure of the last Run; success when it read the document.
  qaxoi::Status status() const {
    return error_.empty() ? qaxoi::Status::Ok() : qaxoi::Status::WithCode(errorCode_, error_);
  }
  // True when the error has a place that a byte-by-byte parse can make exact.
  bool Placeable() const { return placeable_; }
  // Where the page that the parser failed in starts.
  std::size_t FailedPageStart() const { return pageStart_; }

 private:
  // Frees the parser, the base and the world, in that order.
  void Free() {
    parser_.reset();
    base_.reset();
    world_.reset();
  }

  bool Start(const std::string& baseIri) {
    world_.reset(raptor_new_world());
    if (!world_ || raptor_world_open(world_.get()) != 0) {
      error_ = sourceName_ + ": the RDF/XML parser could not be started";
      return false;
    }
    raptor_world_set_log_handler(world_.get(), this, &Parse::OnLog);
    raptor_world_set_generate_bnodeid_handler(world_.get(), this, &Parse::NewBlankLabel);
    parser_.reset(raptor_new_parser(world_.get(), "rdfxml"));
    const std::string base = baseIri.empty() ? std::string(kNoBase) : baseIri;
    base_.reset(raptor_new_uri(world_.get(), reinterpret_cast<const unsigned char*>(base.c_str())));
    if (!parser_ || !base_) {
      error_ = sourceName_ + ": the RDF/XML parser could not be started";
      return false;
    }
    // Nothing is fetched, whatever the document refers to.
    raptor_parser_set_option(parser_.get(), RAPTOR_OPTION_NO_NET, nullptr, 1);
    raptor_parser_set_option(parser_.get(), RAPTOR_OPTION_NO_FILE, nullptr, 1);
    raptor_parser_set_option(parser_.get(), RAPTOR_OPTION_LOAD_EXTERNAL_ENTITIES, nullptr, 0);
    // Language tags as written, as the Turtle reader hands them over.
    raptor_parser_set_option(parser_.get(), RAPTOR_OPTION_NORMALIZE_LANGUAGE, nullptr, 0);
    raptor_parser_set_statement_handler(parser_.get(), this, &Parse::OnStatement);
    raptor_parser_set_namespace_handler(parser_.get(), this, &Parse::OnNamespace);
    if (raptor_parser_parse_start(parser_.get(), base_.get()) != 0) {
      Fail("the RDF/XML parser could not be started");
      return false;
    }
    return true;
  }

  // Records the first problem, placed where the parser stands, and stops.
  void Fail(const std::string& what) {
    if (!error_.empty()) return;
    const std::size_t at = offset_ == 0 ? 0 : offset_ - 1;
    error_ = sourceName_ + ":" + Place(document_, at) + ": " + what;
    placeable_ = true;
    Stop();
  }

  void Stop() {
    stopped_ = true;
    if (parser_) raptor_parser_parse_abort(parser_.get());
  }

  // True, with the refusal as the error, once the statements have spent the
  // load's budget; the refusal names no place, as for Turtle.
  bool OverBudget() {
    if (!sink_.Budget().Exhausted()) return false;
    if (error_.empty()) {
      error_ = sink_.Budget().Refusal(sourceName_);
      errorCode_ = qaxoi::Status::Code::kResourceExhausted;
    }
    Stop();
    return true;
  }

  // The IRI of `uri`; false, with the error, for one that was relative with
  // no base to resolve it against.
  bool Iri(raptor_uri* uri, std::string_view& iri) {
    iri = UriText(uri);
    if (iri.compare(0, kNoBase.size(), kNoBase) != 0) return true;
    Fail("relative IRI <" + std::string(iri.substr(kNoBase.size())) +
         "> and no base IRI to resolve it against");
    return false;
  }

  bool ToTerm(const raptor_term& term, Term& out) {
    switch (term.type) {
      case RAPTOR_TERM_TYPE_URI: {
        std::string_view iri;
        if (!Iri(term.value.uri, iri)) return false;
        out = Term::Iri(iri);
        return true;
      }
      case RAPTOR_TERM_TYPE_BLANK:
        out = Term::Blank(std::string_view(reinterpret_cast<const char*>(term.value.blank.string),
                                           term.value.blank.string_len));
        return true;
      case RAPTOR_TERM_TYPE_LITERAL: {
        const raptor_term_literal_value& literal = term.value.literal;
        std::string_view datatype;
        if (literal.datatype != nullptr && !Iri(literal.datatype, datatype)) return false;
        out = Term::Literal(
            std::string_view(reinterpret_cast<const char*>(literal.string), literal.string_len),
            literal.language == nullptr
                ? std::string_view()
                : std::string_view(reinterpret_cast<const char*>(literal.language),
                                   literal.language_len),
            datatype);
        return true;
      }
      case RAPTOR_TERM_TYPE_UNKNOWN:
        break;
    }
    Fail("a statement with a term of unknown type");
    return false;
  }

  void Statement(const raptor_statement& statement) {
    Term subject;
    Term predicate;
    Term object;
    if (!ToTerm(*statement.subject, subject) || !ToTerm(*statement.predicate, predicate) ||
        !ToTerm(*statement.object, object)) {
      return;
    }
    // libxml2 refuses bad bytes and character references to surrogates, but
    // xml:lang is any text to it; both are checked here as for every syntax.
    for (const Term* term : {&subject, &predicate, &object}) {
      const std::string fault = TermFault(*term);
      if (!fault.empty()) {
        Fail(fault);
        return;
      }
    }
    sink_.Statement(subject, predicate.text, object);
    OverBudget();
  }

  static void OnStatement(void* user, raptor_statement* statement) {
    auto* const self = static_cast<Parse*>(user);
    if (self->stopped_) return;
    // No exception may cross the parser's C code: it is stopped, and
    // Run throws once the parser is freed.
    try {
      self->Statement(*statement);
    } catch (const std::bad_alloc&) {
      self->outOfMemory_ = true;
      self->Stop();
    }
  }

  // A namespace declaration, `xmlns="..."` as the empty prefix name. A
  // relative namespace name (deprecated in XML) names nothing and is left
  // out, and so is a declaration made before: XML writers often declare
  // the same namespaces on every element, which says nothing new.
  static void OnNamespace(void* user, raptor_namespace* space) {
    auto* const self = static_cast<Parse*>(user);
    raptor_uri* const uri = raptor_namespace_get_uri(space);
    if (self->stopped_ || uri == nullptr) return;
    const std::string_view iri = UriText(uri);
    if (iri.find(':') == std::string_view::npos) return;
    const unsigned char* const prefix = raptor_namespace_get_prefix(space);
    const std::string_view name = prefix == nullptr
                                      ? std::string_view()
                                      : std::string_view(reinterpret_cast<const char*>(prefix));
    try {
      // A name holds no space, so "name iri" tells the pairs apart.
      std::string key;
      key.reserve(name.size() + 1 + iri.size());
      key.append(name).append(1, ' ').append(iri);
      if (!self->declared_.insert(std::move(key)).second) return;
      self->sink_.Prefix(name, iri);
      self->OverBudget();
    } catch (const std::bad_alloc&) {
      self->outOfMemory_ = true;
      self->Stop();
    }
  }

  // Errors stop the parse (raptor reports many RDF/XML faults as errors and
  // goes on without the statements they spoil, which would lose data
  // silently); warnings are kept and the parse goes on.
  static void OnLog(void* user, raptor_log_message* message) {
    auto* const self = static_cast<Parse*>(user);
    std::string text = message->text == nullptr ? std::string("unknown problem") : message->text;
    if (text.compare(0, kXmlErrorPrefix.size(), kXmlErrorPrefix) == 0) {
      text.erase(0, kXmlErrorPrefix.size());
    }
    const std::size_t unknownLine = text.find(kUnknownLine);
    if (unknownLine != std::string::npos) text.replace(unknownLine, kUnknownLine.size(), " and ");
    text = OneLine(text);
    if (message->level >= RAPTOR_LOG_LEVEL_ERROR) {
      self->Fail(text);
      return;
    }
    if (message->level != RAPTOR_LOG_LEVEL_WARN || self->warnings_ == nullptr || self->stopped_) {
      return;
    }
    if (self->keptWarnings_ == kMaxXmlWarnings) {
      ++self->hiddenWarnings_;
      return;
    }
    ++self->keptWarnings_;
    const std::size_t at = self->offset_ == 0 ? 0 : self->offset_ - 1;
    const std::string place = Place(self->document_, at);
    self->warnings_->push_back(self->sourceName_ + ":" + place.substr(0, place.find(':')) + ": " +
                               text);
  }

  // raptor's own labels ("genid1") and the document's rdf:nodeID may be the
  // same text: the document's get "u" before them and raptor's are "g" and a
  // count. raptor owns the answer and frees it with free(), and gives the
  // document's label to this function to free.
  static unsigned char* NewBlankLabel(void* user, unsigned char* documentLabel) {
    auto* const self = static_cast<Parse*>(user);
    std::string label;
    if (documentLabel != nullptr) {
      label = "u" + std::string(reinterpret_cast<const char*>(documentLabel));
      raptor_free_memory(documentLabel);
    } else {
      label = "g" + std::to_string(++self->blankCount_);
    }
    auto* const copy = static_cast<unsigned char*>(std::malloc(label.size() + 1));
    if (copy != nullptr) std::memcpy(copy, label.c_str(), label.size() + 1);
    return copy;
  }

  const std::string& document_;
  const std::string& sourceName_;
  TripleHandler& sink_;
  std::vector<std::string>* warnings_;
  std::unordered_set<std::string> declared_;  // "name iri" of each prefix handed over
  std::unique_ptr<raptor_world, WorldDeleter> world_;
  std::unique_ptr<raptor_uri, UriDeleter> base_;
  std::unique_ptr<raptor_parser, ParserDeleter> parser_;
  std::size_t offset_ = 0;
  std::size_t pageStart_ = 0;
  std::size_t blankCount_ = 0;
  std::size_t keptWarnings_ = 0;
  std::size_t hiddenWarnings_ = 0;
  std::string error_;
  // The document's fault, unless the budget refused it.
  qaxoi::Status::Code errorCode_ = qaxoi::Status::Code::kInvalidInput;
  bool stopped_ = false;
  bool placeable_ = false;
  bool outOfMemory_ = false;
};

}  // namespace

qaxoi::Status ReadRdfXml(const std::string& document, const std::string& sourceName,
                         const std::string& baseIri, TripleHandler& handler,
                         std::vector<std::string>& warnings) {
  const XmlProblem problem = FindXmlBeyondBounds(document);
  if (problem.at != std::string::npos) {
    return qaxoi::Status::WithCode(
        problem.beyondBound ? qaxoi::Status::Code::kResourceExhausted
                            : qaxoi::Status::Code::kInvalidInput,
        sourceName + ":" + Place(document, problem.at) + ": " + problem.what);
  }
  // The parser frees each literal once its statement is made, so the largest
  // one is the most it holds at a time; nothing tells how far raptor has got
  // within a literal, so its length is bounded before it starts.
  if (problem.literalBytes > kMaxXmlLiteralBytes) {
    return qaxoi::Status::WithCode(
        qaxoi::Status::Code::kResourceExhausted,
        sourceName + ":" + Place(document, problem.literalAt) +
            ": an XML literal (rdf:parseType=\"Literal\") of " +
            std::to_string(problem.literalBytes) + " bytes, more than " +
            std::to_string(kMaxXmlLiteralBytes) + ", the most read: the XML parser holds about " +
            std::to_string(kXmlLiteralBytesPerByte) + " bytes per byte of it");
  }
  std::vector<std::string> found;
  Parse parse(document, sourceName, handler, &found);
  const bool read = parse.Run(baseIri, std::string::npos);
  warnings.insert(warnings.end(), found.begin(), found.end());
  if (read) return qaxoi::Status::Ok();
  if (parse.Placeable()) {
    // The first parse failed before its budget was spent, so the second
    // need keep nothing.
    DiscardingHandler discarded(document.size());
    Parse placing(document, sourceName, discarded, nullptr);
    if (!placing.Run(baseIri, parse.FailedPageStart())) return placing.status();
  }
  return parse.status();
}

}  // namespace qaxoi::rdf
