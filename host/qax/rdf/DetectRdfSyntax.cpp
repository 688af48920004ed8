// DetectRdfSyntax: the syntax of a document told from its first bytes.
#include <algorithm>
#include <cctype>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "host/qax/rdf/DocumentSyntax.h"
#include "host/qax/rdf/RdfSyntax.h"
#include "host/qax/rdf/Utf16.h"

namespace qaxoi::rdf {
namespace {

constexpr std::string_view kRdfNamespace = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// The statement terms of an N-Quads line: subject, predicate, object, graph;
// and of an N-Triples line.
constexpr int kQuadTerms = 4;
constexpr int kTripleTerms = 3;

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

// Refuses the document as `other`: `found` says what it is.
void Refuse(DocumentSyntax* told, std::string_view other, const std::string& found) {
  told->syntax = RdfSyntax::kDetect;
  told->other = other;
  told->refusal =
      found + "; the syntaxes read are " + ListRdfSyntaxes(&RdfSyntaxInfo::title, "and");
}

// The root element of an XML document, from its '<': RDF/XML when it is
// rdf:RDF or carries attributes in the RDF namespace (a root node element,
// which RDF/XML allows); OWL/XML for an Ontology root, HTML for an html
// root, other XML for any other.
void XmlRoot(Reader& in, DocumentSyntax* told) {
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
  if ((rootInRdf && local == "RDF") || rdfAttribute) {
    told->syntax = RdfSyntax::kRdfXml;
    return;
  }
  if (local == "Ontology") {
    Refuse(told, "OWL/XML", "the document is OWL/XML, which is not read");
    return;
  }
  std::string lowerLocal(local);
  for (char& c : lowerLocal) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  Refuse(told, lowerLocal == "html" ? "HTML" : "XML",
         "the document is XML whose root element is <" + std::string(name) + ">, not rdf:RDF");
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

// A document in the Turtle family from its first statement or directive;
// `directives` tells whether one came before.
void TurtleFamily(Reader& in, bool directives, DocumentSyntax* told) {
  told->syntax = RdfSyntax::kTurtle;
  if (in.StartsKeyword("GRAPH") || in.Peek() == '{') {
    told->syntax = RdfSyntax::kTriG;
    return;
  }
  if (in.Peek() != '<' && !(in.Peek() == '_' && in.Peek(1) == ':')) return;
  Reader line = in;
  const int terms = TermsOnLine(line);
  if (terms == kQuadTerms) {
    told->syntax = RdfSyntax::kNQuads;
    return;
  }
  while (line.Peek() == ' ' || line.Peek() == '\t') line.Skip(1);
  told->nTriplesLine = !directives && terms == kTripleTerms && line.Peek() == '.';
  line.SkipSpace();
  if (terms == 1 && line.Peek() == '{') {
    told->syntax = RdfSyntax::kTriG;
    return;
  }
  told->unsure = !directives && !told->nTriplesLine;
}

}  // namespace

DocumentSyntax TellDocumentSyntax(std::string_view firstBytes) {
  DocumentSyntax told;
  if (IsUtf16Document(firstBytes)) {
    // Which syntax it is does not matter: none is read in UTF-16.
    told.other = "UTF-16";
    told.refusal = std::string(kUtf16Refusal);
    return told;
  }
  Reader in(firstBytes);
  if (in.Starts(kUtf8Bom)) in.Skip(kUtf8Bom.size());
  bool xml = false;
  bool directives = false;
  while (true) {
    in.SkipSpace();
    if (in.AtEnd()) {
      if (xml) {
        Refuse(&told, "XML", "the document is XML without a root element");
      } else {
        told.syntax = RdfSyntax::kTurtle;
      }
      return told;
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
      XmlRoot(in, &told);
    } else {
      TurtleFamily(in, directives, &told);
    }
    return told;
  }
  if (xml) {
    Refuse(&told, "XML", "the document is XML without a root element");
    return told;
  }
  if (first == '{' || first == '[') {
    Reader after = in;
    after.Skip(1);
    after.SkipSpace();
    const char next = after.Peek();
    if (next == '"' || next == '{' || (first == '{' && next == '}')) {
      Refuse(&told, "JSON", "the document is JSON (JSON-LD?), which is not read");
    } else {
      told.syntax = first == '{' ? RdfSyntax::kTriG : RdfSyntax::kTurtle;
    }
    return told;
  }
  if (!directives) {
    for (const char* word : {"Prefix(", "Ontology(", "Import(", "Declaration("}) {
      if (in.Starts(word)) {
        Refuse(&told, "the OWL functional syntax",
               "the document is in the OWL functional syntax, which is not read");
        return told;
      }
    }
    for (const char* word : {"Prefix:", "Ontology:", "Class:", "ObjectProperty:", "DataProperty:",
                             "AnnotationProperty:", "Individual:", "Datatype:"}) {
      if (in.Starts(word)) {
        Refuse(&told, "the OWL Manchester syntax",
               "the document is in the OWL Manchester syntax, which is not read");
        return told;
      }
    }
  }
  if (directives || first == '_' || first == '(' ||
      std::isalpha(static_cast<unsigned char>(first)) || first == ':') {
    TurtleFamily(in, directives, &told);
  } else {
    Refuse(&told, "", "cannot tell the RDF syntax from the name or the first bytes");
  }
  return told;
}

qaxoi::Status DetectRdfSyntax(std::string_view firstBytes, RdfSyntax* syntax) {
  DocumentSyntax told = TellDocumentSyntax(firstBytes);
  if (told.syntax == RdfSyntax::kDetect)
    return qaxoi::Status::NotSupported(std::move(told.refusal));
  *syntax = told.syntax;
  return qaxoi::Status::Ok();
}

}  // namespace qaxoi::rdf
