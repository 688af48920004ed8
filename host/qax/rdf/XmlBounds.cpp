#include "host/qax/rdf/XmlBounds.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <unordered_map>

#include "host/qax/rdf/ByteTable.h"
#include "host/qax/rdf/Utf16.h"

namespace qaxoi::rdf {
namespace {

constexpr std::size_t kNone = std::string::npos;
constexpr std::size_t kSaturated = static_cast<std::size_t>(-1) / 2;

// Code points that a character reference in an entity's text must not name:
// they would turn into markup ('<', '&') or a parameter entity ('%') once the
// entity is declared.
constexpr unsigned long kLessThan = 0x3C;
constexpr unsigned long kAmpersand = 0x26;
constexpr unsigned long kPercent = 0x25;
// A character reference's value stops being read past this; no code point
// is larger.
constexpr unsigned long kMaxCodePoint = 0x10FFFF;

constexpr bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Bytes that end a name: XML names hold none of them.
constexpr bool EndsName(char c) {
  return IsSpace(c) || c == ';' || c == '&' || c == '<' || c == '>' || c == '"' || c == '\'' ||
         c == '%' || c == '/' || c == '=' || c == '[' || c == ']';
}

// Where markup or a reference starts, and where a tag's markup ends or a
// quoted literal (which may hold '>') starts.
constexpr ByteTable kMarkupStart = MakeTable([](char c) { return c == '<' || c == '&'; });
constexpr ByteTable kMarkupEnd =
    MakeTable([](char c) { return c == '>' || c == '"' || c == '\''; });

std::size_t Saturate(std::size_t a, std::size_t b) {
  return a > kSaturated - b ? kSaturated : a + b;
}

class Scan {
 public:
  explicit Scan(const std::string& document)
      : d_(document),
        view_(document),
        allowance_(document.size() > (kSaturated - kEntityBaseBytes) / kEntityBytesPerDocumentByte
                       ? kSaturated
                       : kEntityBytesPerDocumentByte * document.size() + kEntityBaseBytes) {}

  XmlProblem Run() {
    if (IsUtf16Document(view_)) return Fail(0, std::string(kUtf16Refusal));
    const void* nul = std::memchr(d_.data(), 0, d_.size());
    if (nul != nullptr) {
      return Fail(static_cast<std::size_t>(static_cast<const char*>(nul) - d_.data()),
                  "NUL byte in the document");
    }
    std::size_t depth = 0;
    std::size_t at = 0;
    while (problem_.at == kNone) {
      at = Next(at, kMarkupStart);
      if (at == kNone) break;
      const char next = at + 1 < d_.size() ? d_[at + 1] : '\0';
      if (d_[at] == '&') {
        at = Reference(at);
      } else if (next == '/') {
        if (depth == literalDepth_ && depth > 0) EndLiteral(at);
        if (depth > 0) {
          --depth;
          inScope_ -= declared_[depth];
        }
        at = Within(at, After(at, ">"));
      } else if (next != '!' && next != '?') {
        const std::size_t open = at;
        tagNamespaces_ = 0;
        tagLiteral_ = false;
        at = Within(open, Markup(at + 1, true));
        if (at != kNone && d_[at - 2] != '/') {
          if (++depth > kMaxXmlDepth) {
            Fail(open, "elements nest deeper than " + std::to_string(kMaxXmlDepth) + " levels",
                 true);
          } else {
            declared_[depth - 1] = tagNamespaces_;
          }
          if (tagLiteral_ && literalDepth_ == 0) {
            literalDepth_ = depth;
            literalStart_ = at;
            literalOpen_ = open;
            literalExpanded_ = expanded_;
          }
        } else {
          inScope_ -= tagNamespaces_;  // an empty element's end closes its scope
        }
      } else if (Starts(at, "<!--")) {
        at = Within(at, After(at, "-->"));
      } else if (Starts(at, "<![CDATA[")) {
        at = Within(at, After(at, "]]>"));
      } else if (next == '?') {
        at = Within(at, After(at, "?>"));
      } else if (Starts(at, "<!DOCTYPE")) {
        at = Doctype(at + std::strlen("<!DOCTYPE"));
      } else {
        at = Markup(at + 1);
      }
      if (at == kNone) break;  // unterminated: the parser stops there
    }
    if (literalDepth_ != 0) EndLiteral(d_.size());
    return problem_;
  }

 private:
  struct Entity {
    std::string_view text;
    std::size_t at = 0;  // where its text starts
    enum class State : std::uint8_t { kNew, kVisiting, kDone } state = State::kNew;
    std::size_t size = 0;  // the text it stands for, entities expanded
  };

  XmlProblem Fail(std::size_t at, std::string what, bool beyondBound = false) {
    if (problem_.at == kNone) {
      problem_.at = at;
      problem_.what = std::move(what);
      problem_.beyondBound = beyondBound;
    }
    return problem_;
  }

  // The first byte at or after `at` that `table` holds; kNone if none.
  std::size_t Next(std::size_t at, const ByteTable& table) const {
    const std::size_t size = d_.size();
    const char* const data = d_.data();
    while (at < size && !table.holds[static_cast<unsigned char>(data[at])]) ++at;
    return at < size ? at : kNone;
  }

  bool Starts(std::size_t at, const char* text) const {
    return d_.compare(at, std::strlen(text), text) == 0;
  }

  // The offset just past the first `end` at or after `at`; kNone if none.
  std::size_t After(std::size_t at, const char* end) const {
    const std::size_t found = d_.find(end, at);
    return found == kNone ? kNone : found + std::strlen(end);
  }

  // `end`, where markup that starts at `start` ends, unless the markup is
  // longer than the XML parser reads: then the problem, and kNone.
  std::size_t Within(std::size_t start, std::size_t end) {
    if (end == kNone || end - start <= kMaxXmlMarkupBytes) return end;
    Fail(start,
         "markup longer than " + std::to_string(kMaxXmlMarkupBytes) +
             " bytes, the most the XML parser reads in one tag, comment or section",
         true);
    return kNone;
  }

  // The XML literal that ends where its end tag starts, at `end`: its bytes
  // and the text its entity references stand for.
  void EndLiteral(std::size_t end) {
    const std::size_t bytes = Saturate(end - literalStart_, expanded_ - literalExpanded_);
    if (problem_.literalAt == kNone || bytes > problem_.literalBytes) {
      problem_.literalBytes = bytes;
      problem_.literalAt = literalOpen_;
    }
    literalDepth_ = 0;
  }

  // The name of the attribute whose value opens at `quote`, and where it
  // starts (`name`). Walks back over the name alone.
  std::string_view AttributeName(std::size_t quote, std::size_t& name) const {
    std::size_t at = quote;
    while (at > 0 && (IsSpace(d_[at - 1]) || d_[at - 1] == '=')) --at;
    const std::size_t end = at;
    while (at > 0 && !EndsName(d_[at - 1])) --at;
    name = at;
    return view_.substr(at, end - at);
  }

  // Counts the attribute whose value opens at `quote` in a start tag, and
  // notes a namespace declaration ("xmlns", "xmlns:prefix") and
  // parseType="Literal" (with any prefix or none).
  void Attribute(std::size_t quote, std::size_t& attributes) {
    constexpr std::string_view kXmlns = "xmlns";
    constexpr std::string_view kParseType = "parseType";
    constexpr std::string_view kLiteral = "Literal";
    std::size_t name = quote;
    const std::string_view attribute = AttributeName(quote, name);
    const bool declaration = attribute.substr(0, kXmlns.size()) == kXmlns &&
                             (attribute.size() == kXmlns.size() || attribute[kXmlns.size()] == ':');
    const std::size_t colon = attribute.find(':');
    if ((colon == std::string_view::npos ? attribute : attribute.substr(colon + 1)) == kParseType &&
        view_.substr(quote + 1, kLiteral.size()) == kLiteral &&
        quote + 1 + kLiteral.size() < d_.size() && d_[quote + 1 + kLiteral.size()] == d_[quote]) {
      tagLiteral_ = true;
    }
    if (++attributes > kMaxXmlAttributes) {
      Fail(name, "an element has more than " + std::to_string(kMaxXmlAttributes) + " attributes",
           true);
    } else if (declaration) {
      ++tagNamespaces_;
      if (++inScope_ > kMaxXmlNamespaces) {
        Fail(name,
             "the open elements declare more than " + std::to_string(kMaxXmlNamespaces) +
                 " namespaces",
             true);
      }
    }
  }

  // Steps over markup from `at` to just past its closing '>', quoted
  // literals included (a '>' may stand in them), counting the entity
  // references in the literals, and in a start tag (`startTag`) the
  // attributes and namespace declarations; kNone when it does not close.
  std::size_t Markup(std::size_t at, bool startTag = false) {
    std::size_t attributes = 0;
    while (problem_.at == kNone) {
      at = Next(at, kMarkupEnd);
      if (at == kNone) return kNone;
      const char c = d_[at];
      if (c == '>') return at + 1;
      if (c == '"' || c == '\'') {
        if (startTag) Attribute(at, attributes);
        const std::size_t close = d_.find(c, at + 1);
        if (close == kNone) return kNone;
        // Only within the literal: a search of the whole document from
        // each literal would cost the square of its size.
        const std::string_view literal = view_.substr(at + 1, close - at - 1);
        for (std::size_t amp = literal.find('&'); amp != std::string_view::npos;
             amp = literal.find('&', amp + 1)) {
          Reference(at + 1 + amp);
        }
        at = close + 1;
      }
    }
    return kNone;
  }

  // The name that starts at `at` (empty when none does).
  std::string_view Name(std::size_t at) const {
    std::size_t end = at;
    while (end < d_.size() && !EndsName(d_[end])) ++end;
    return view_.substr(at, end - at);
  }

  // A reference "&name;" or "&#...;" at `at`: charges what a named entity
  // stands for. Answers where the scan goes on.
  std::size_t Reference(std::size_t at) {
    if (at + 1 < d_.size() && d_[at + 1] == '#') return at + 2;
    const std::string_view name = Name(at + 1);
    const std::size_t end = at + 1 + name.size();
    if (name.empty() || end >= d_.size() || d_[end] != ';') return at + 1;
    const auto found = entities_.find(name);
    if (found == entities_.end()) return end + 1;  // predefined, or undefined: the parser says so
    expanded_ = Saturate(expanded_, Size(found->second, 0));
    if (problem_.at == kNone && expanded_ > allowance_) {
      Fail(at,
           "entity references stand for more than " + std::to_string(allowance_) +
               " bytes of text (" + std::to_string(kEntityBytesPerDocumentByte) +
               " times the document's size plus " + std::to_string(kEntityBaseBytes) + ")",
           true);
    }
    return end + 1;
  }

  // What `entity` stands for, its references expanded; `nesting` entities
  // refer to it on the way here.
  std::size_t Size(Entity& entity, std::size_t nesting) {
    if (entity.state == Entity::State::kDone) return entity.size;
    if (entity.state == Entity::State::kVisiting || nesting >= kMaxEntityNesting) {
      const bool loop = entity.state == Entity::State::kVisiting;
      Fail(entity.at,
           loop ? std::string("entities refer to each other in a loop")
                : "entities refer to each other deeper than " + std::to_string(kMaxEntityNesting) +
                      " levels",
           !loop);
      return kSaturated;
    }
    entity.state = Entity::State::kVisiting;
    std::size_t size = entity.text.size();
    for (std::size_t amp = entity.text.find('&'); amp != kNone && problem_.at == kNone;
         amp = entity.text.find('&', amp + 1)) {
      const std::string_view name = Name(entity.at + amp + 1);
      const auto found = entities_.find(name);
      if (!name.empty() && found != entities_.end()) {
        size = Saturate(size, Size(found->second, nesting + 1));
      }
    }
    entity.state = Entity::State::kDone;
    entity.size = size;
    return size;
  }

  // The DOCTYPE from just after "<!DOCTYPE": its name and external
  // identifier, then the internal subset. Answers where the scan goes on.
  std::size_t Doctype(std::size_t at) {
    while (at < d_.size() && d_[at] != '[' && d_[at] != '>') {
      if (d_[at] == '"' || d_[at] == '\'') {
        at = d_.find(d_[at], at + 1);
        if (at == kNone) return kNone;
      }
      ++at;
    }
    if (at >= d_.size()) return kNone;
    if (d_[at] == '>') return at + 1;
    ++at;
    while (problem_.at == kNone) {
      while (at < d_.size() && IsSpace(d_[at])) ++at;
      if (at >= d_.size()) return kNone;
      if (d_[at] == ']') return After(at, ">");
      if (Starts(at, "<!--")) {
        at = After(at, "-->");
      } else if (Starts(at, "<?")) {
        at = After(at, "?>");
      } else if (Starts(at, "<!ENTITY")) {
        at = EntityDeclaration(at, at + std::strlen("<!ENTITY"));
      } else if (Starts(at, "<!ELEMENT") || Starts(at, "<!ATTLIST") || Starts(at, "<!NOTATION")) {
        at = Markup(at + 2);
      } else if (d_[at] == '%') {
        Fail(at, "parameter entities are not read");
      } else {
        Fail(at, "the DOCTYPE holds something other than declarations and comments");
      }
      if (at == kNone) return kNone;
    }
    return kNone;
  }

  // "<!ENTITY name "text">" or "<!ENTITY name SYSTEM ...>" from `at`
  // (`declaration` is its '<'). The first declaration of a name counts, as
  // in XML. External entities are never loaded, so they stand for nothing.
  std::size_t EntityDeclaration(std::size_t declaration, std::size_t at) {
    while (at < d_.size() && IsSpace(d_[at])) ++at;
    if (at < d_.size() && d_[at] == '%') {
      Fail(at, "parameter entities are not read");
      return kNone;
    }
    const std::string_view name = Name(at);
    at += name.size();
    while (at < d_.size() && IsSpace(d_[at])) ++at;
    if (at >= d_.size()) return kNone;
    if (d_[at] != '"' && d_[at] != '\'') return Markup(at);  // SYSTEM or PUBLIC
    const std::size_t close = d_.find(d_[at], at + 1);
    if (close == kNone) return kNone;
    Entity entity;
    entity.at = at + 1;
    entity.text = view_.substr(at + 1, close - at - 1);
    if (HoldsMarkup(entity)) {
      Fail(declaration,
           "the entity '" + std::string(name) + "' holds markup; entities may stand only for text");
      return kNone;
    }
    entities_.emplace(name, entity);
    return Markup(close + 1);
  }

  // True when the entity's text holds '<' or '%', or a character reference
  // to '<', '&' or '%'.
  static bool HoldsMarkup(const Entity& entity) {
    const std::string_view text = entity.text;
    if (text.find_first_of("<%") != std::string_view::npos) return true;
    for (std::size_t at = text.find("&#"); at != std::string_view::npos;
         at = text.find("&#", at + 1)) {
      std::size_t digit = at + 2;
      const bool hex = digit < text.size() && (text[digit] == 'x' || text[digit] == 'X');
      if (hex) ++digit;
      unsigned long value = 0;
      for (; digit < text.size() && text[digit] != ';' && value <= kMaxCodePoint; ++digit) {
        const char c = text[digit];
        const int number = (c >= '0' && c <= '9')          ? c - '0'
                           : hex && (c >= 'a' && c <= 'f') ? c - 'a' + 10
                           : hex && (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                                           : -1;
        if (number < 0) break;
        value = value * (hex ? 16 : 10) + static_cast<unsigned long>(number);
      }
      if (value == kLessThan || value == kAmpersand || value == kPercent) return true;
    }
    return false;
  }

  const std::string& d_;
  const std::string_view view_;  // d_, for slices that copy nothing
  const std::size_t allowance_;
  std::unordered_map<std::string_view, Entity> entities_;
  std::size_t expanded_ = 0;
  // Namespace declarations: made by each open element (by level, the root
  // at 0), by the start tag being read, and by all open elements together.
  std::array<std::size_t, kMaxXmlDepth> declared_{};
  std::size_t tagNamespaces_ = 0;
  std::size_t inScope_ = 0;
  // The XML literal being read: whether the start tag being read opens one,
  // the level of its element (0: none is open), where its content starts
  // where its element's '<' is, and the entity text counted before it.
  bool tagLiteral_ = false;
  std::size_t literalDepth_ = 0;
  std::size_t literalStart_ = 0;
  std::size_t literalOpen_ = 0;
  std::size_t literalExpanded_ = 0;  // expanded_ where it starts
  XmlProblem problem_;
};

}  // namespace

XmlProblem FindXmlBeyondBounds(const std::string& document) { return Scan(document).Run(); }

}  // namespace qaxoi::rdf
