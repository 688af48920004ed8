// DetectRdfSyntax: the syntax of a document told from its first bytes.
#include <algorithm>
#include <cctype>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "host/qax/rdf/RdfSyntax.h"
#include "host/qax/rdf/Utf16.h"

namespace qaxoi::rdf {
namespace {

constexpr std::string_view kRdfNamespace = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// The statement terms of an N-Quads line: subject, predicate, object, graph.
constexpr int kQuadTerms = 4;

constexpr bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The bytes of a document, read from the front.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  bool AtEnd() const { return at_ >= text_.size(); }
  char Peek(std::size_t ahead = 0) const {
    return at_ + ahead < text_.size() ? text_[at_ + ahead] : '\0';
  }
  bool Starts(std::string_view word) const { return text_.substr(at_, word.size()) == word; }
  // Starts with `word`, in any letter case, followed by white space (so
  // that "Prefix(" and "Prefix:" of the OWL syntaxes are not taken for it).
  bool StartsKeyword(std::string_view word) const {
    if (text_.size() - at_ < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(text_[at_ + i])) !=
          std::tolower(static_cast<unsigned char>(word[i]))) {
        return false;
      }
    }
    return IsSpace(Peek(word.size()));
  }
  void Skip(std::size_t count) { at_ = std::min(text_.size(), at_ + count); }
  void SkipSpace() {
    while (!AtEnd() && IsSpace(text_[at_])) ++at_;
  }
  void SkipLine() {
    while (!AtEnd() && text_[at_] != '\n') ++at_;
  }
  // Steps past the first `end`; to the end when there is none.
  void SkipPast(std::string_view end) {
    const std::size_t found = text_.find(end, at_);
    at_ = found == std::string_view::npos ? text_.size() : found + end.size();
  }
  // Steps past markup up to its closing '>', over quoted literals and, for
  // a DOCTYPE, its internal subset in brackets.
  void SkipMarkup() {
    int brackets = 0;
    while (!AtEnd()) {
      const char c = text_[at_++];
      if (c == '"' || c == '\'') {
        SkipPast(std::string_view(&c, 1));
      } else if (c == '[') {
        ++brackets;
      } else if (c == ']') {
        --brackets;
      } else if (c == '>' && brackets <= 0) {
        return;
      }
    }
  }
  // The bytes up to the first that `stop` holds for.
  template <typename Stop>
  std::string_view Take(Stop stop) {
    const std::size_t start = at_;
    while (!AtEnd() && !stop(text_[at_])) ++at_;
    return text_.substr(start, at_ - start);
  }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

RdfSyntax Refuse(std::string* refusal, const std::string& found) {
  *refusal = found + "; the syntaxes read are " + ListRdfSyntaxes(&RdfSyntaxInfo::title, "and");
  return RdfSyntax::kDetect;
}

// The root element of an XML document, from its '<': RDF/XML when it is
// rdf:RDF or carries attributes in the RDF namespace (a root node element,
// which RDF/XML allows); OWL/XML for an Ontology root.
RdfSyntax XmlRoot(Reader& in, std::string* refusal) {
  in.Skip(1);
  const std::string_view name = in.Take([](char c) { return IsSpace(c) || c == '>' || c == '/'; });
  const std::size_t colon = name.find(':');
  const std::string_view prefix = colon == std::string_view::npos ? "" : name.substr(0, colon);
  const std::string_view local = colon == std::string_view::npos ? name : name.substr(colon + 1);
  bool rootInRdf = false;
  std::unordered_set<std::string_view> rdfPrefixes;  // the prefixes bound to the RDF namespace
  std::vector<std::string_view> attributePrefixes;   // those of the other attributes
  // Attributes: name="value", up to the tag's end.
  while (true) {
    in.SkipSpace();
    if (in.AtEnd() || in.Peek() == '>' || in.Peek() == '/') break;
    const std::string_view attribute =
        in.Take([](char c) { return IsSpace(c) || c == '=' || c == '>'; });
    in.SkipSpace();
    if (in.Peek() != '=') break;
    in.Skip(1);
    in.SkipSpace();
    const char quote = in.Peek();
    if (quote != '"' && quote != '\'') break;
    in.Skip(1);
    const std::string_view value = in.Take([quote](char c) { return c == quote; });
    in.Skip(1);
    // A namespace given through an entity ("&rdf;") is taken as the RDF
    // namespace when the entity has the customary name.
    const bool rdfValue = value == kRdfNamespace || value == "&rdf;";
    const std::size_t attributeColon = attribute.find(':');
    const std::string_view attributePrefix =
        attributeColon == std::string_view::npos ? "" : attribute.substr(0, attributeColon);
    if (attributePrefix == "xmlns") {
      if (rdfValue) rdfPrefixes.insert(attribute.substr(attributeColon + 1));
    } else if (attribute == "xmlns") {
      if (rdfValue && prefix.empty()) rootInRdf = true;
    } else if (!attributePrefix.empty()) {
      attributePrefixes.push_back(attributePrefix);
    }
  }
  if (!prefix.empty() && rdfPrefixes.count(prefix) != 0) rootInRdf = true;
  const bool rdfAttribute =
      std::any_of(attributePrefixes.begin(), attributePrefixes.end(),
                  [&](std::string_view p) { return rdfPrefixes.count(p) != 0; });
  if ((rootInRdf && local == "RDF") || rdfAttribute) return RdfSyntax::kRdfXml;
  if (local == "Ontology") return Refuse(refusal, "the document is OWL/XML, which is not read");
  return Refuse(refusal, "the document is XML whose root element is <" + std::string(name) +
                             ">, not rdf:RDF");
}

// The terms on the first statement's line, from its first term: an N-Quads
// line has four. Stops at '.', a line end, or anything not an IRI, blank
// node or literal.
int TermsOnLine(Reader& in) {
  int terms = 0;
  while (true) {
    while (in.Peek() == ' ' || in.Peek() == '\t') in.Skip(1);
    const char c = in.Peek();
    if (c == '<') {
      in.Take([](char d) { return d == '>' || d == '\n'; });
      in.Skip(1);
    } else if (c == '_' && in.Peek(1) == ':') {
      in.Take([](char d) { return IsSpace(d) || d == '<' || d == '"'; });
    } else if (c == '"') {
      in.Skip(1);
      while (!in.AtEnd() && in.Peek() != '"' && in.Peek() != '\n')
        in.Skip(in.Peek() == '\\' ? 2 : 1);
      in.Skip(1);
      if (in.Peek() == '@' || in.Peek() == '^') {
        in.Take([](char d) { return IsSpace(d); });
      }
    } else {
      return terms;
    }
    ++terms;
  }
}

// A document in the Turtle family from its first statement or directive.
RdfSyntax TurtleFamily(Reader& in) {
  if (in.StartsKeyword("GRAPH") || in.Peek() == '{') return RdfSyntax::kTriG;
  if (in.Peek() != '<' && !(in.Peek() == '_' && in.Peek(1) == ':')) return RdfSyntax::kTurtle;
  Reader line = in;
  const int terms = TermsOnLine(line);
  if (terms == kQuadTerms) return RdfSyntax::kNQuads;
  line.SkipSpace();
  if (terms == 1 && line.Peek() == '{') return RdfSyntax::kTriG;
  return RdfSyntax::kTurtle;
}

// The syntax of `firstBytes`, or kDetect with `refusal` set.
RdfSyntax Detect(std::string_view firstBytes, std::string* refusal) {
  if (IsUtf16Document(firstBytes)) {
    // Which syntax it is does not matter: none is read in UTF-16.
    *refusal = std::string(kUtf16Refusal);
    return RdfSyntax::kDetect;
  }
  Reader in(firstBytes);
  if (in.Starts(kUtf8Bom)) in.Skip(kUtf8Bom.size());
  bool xml = false;
  bool directives = false;
  while (true) {
    in.SkipSpace();
    if (in.AtEnd()) {
      if (xml) return Refuse(refusal, "the document is XML without a root element");
      return RdfSyntax::kTurtle;
    }
    if (in.Peek() == '#') {
      in.SkipLine();
    } else if (in.Starts("<?")) {
      in.SkipPast("?>");
      xml = true;
    } else if (in.Starts("<!--")) {
      in.SkipPast("-->");
      xml = true;
    } else if (in.Starts("<!")) {
      in.SkipMarkup();
      xml = true;
    } else if (in.Starts("@prefix") || in.Starts("@base") || in.StartsKeyword("PREFIX") ||
               in.StartsKeyword("BASE")) {
      // A directive in its line; the first statement after it decides
      // between Turtle and TriG.
      in.SkipLine();
      directives = true;
    } else {
      break;
    }
  }
  const char first = in.Peek();
  if (first == '<') {
    // An element when XML came before, or when the tag holds a namespace
    // declaration; a Turtle IRI otherwise.
    Reader probe = in;
    const std::string_view text = probe.Take([](char c) { return c == '>'; });
    // An IRI holds no white space, so "xmlns" after some names an attribute.
    const std::size_t space = text.find_first_of(" \t\r\n");
    if (xml ||
        (space != std::string_view::npos && text.find("xmlns", space) != std::string_view::npos)) {
      return XmlRoot(in, refusal);
    }
    return TurtleFamily(in);
  }
  if (xml) return Refuse(refusal, "the document is XML without a root element");
  if (first == '{' || first == '[') {
    Reader after = in;
    after.Skip(1);
    after.SkipSpace();
    const char next = after.Peek();
    if (next == '"' || next == '{' || (first == '{' && next == '}')) {
      return Refuse(refusal, "the document is JSON (JSON-LD?), which is not read");
    }
    return first == '{' ? RdfSyntax::kTriG : RdfSyntax::kTurtle;
  }
  if (!directives) {
    for (const char* word : {"Prefix(", "Ontology(", "Import(", "Declaration("}) {
      if (in.Starts(word)) {
        return Refuse(refusal, "the document is in the OWL functional syntax, which is not read");
      }
    }
    for (const char* word : {"Prefix:", "Ontology:", "Class:", "ObjectProperty:", "DataProperty:",
                             "AnnotationProperty:", "Individual:", "Datatype:"}) {
      if (in.Starts(word)) {
        return Refuse(refusal, "the document is in the OWL Manchester syntax, which is not read");
      }
    }
  }
  if (directives || first == '_' || first == '(' ||
      std::isalpha(static_cast<unsigned char>(first)) || first == ':') {
    return TurtleFamily(in);
  }
  return Refuse(refusal, "cannot tell the RDF syntax from the name or the first bytes");
}

}  // namespace

qaxoi::Status DetectRdfSyntax(std::string_view firstBytes, RdfSyntax* syntax) {
  std::string refusal;
  const RdfSyntax found = Detect(firstBytes, &refusal);
  if (found == RdfSyntax::kDetect) return qaxoi::Status::NotSupported(std::move(refusal));
  *syntax = found;
  return qaxoi::Status::Ok();
}

}  // namespace qaxoi::rdf
