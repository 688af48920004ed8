#include "tests/support/SameGraph.h"

#include <serd/serd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <tuple>
#include <utility>

namespace qaxoi::test {

namespace {

constexpr const char* kXsdString = "http://www.w3.org/2001/XMLSchema#string";

// A term as the canonical form writes it; a blank node keeps its label
// until the trees are folded.
struct Node {
  bool blank = false;
  std::string text;  // the written term, or the blank node's label
};

using Statement = std::tuple<std::string, std::string, std::string, bool>;  // s, p, o, o blank

std::string Escaped(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

struct Parse {
  SerdEnv* env = nullptr;
  std::set<Statement> statements;
  std::string error;

  std::string Iri(const SerdNode* node) const {
    if (node->type == SERD_CURIE) {
      SerdNode expanded = serd_env_expand_node(env, node);
      std::string iri(reinterpret_cast<const char*>(expanded.buf), expanded.n_bytes);
      serd_node_free(&expanded);
      return iri;
    }
    return {reinterpret_cast<const char*>(node->buf), node->n_bytes};
  }
  Node Term(const SerdNode* node, const SerdNode* datatype, const SerdNode* language) const {
    const std::string text(reinterpret_cast<const char*>(node->buf), node->n_bytes);
    switch (node->type) {
      case SERD_BLANK:
        return Node{true, text};
      case SERD_LITERAL: {
        std::string literal = "\"" + Escaped(text) + "\"";
        if (language != nullptr && language->n_bytes > 0) {
          std::string tag(reinterpret_cast<const char*>(language->buf), language->n_bytes);
          std::transform(tag.begin(), tag.end(), tag.begin(),
                         [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
          literal += "@" + tag;
        } else if (datatype != nullptr) {
          const std::string type = Iri(datatype);
          if (type != kXsdString) literal += "^^<" + type + ">";
        }
        return Node{false, literal};
      }
      default:
        return Node{false, "<" + Iri(node) + ">"};
    }
  }

  static SerdStatus OnStatement(void* handle, SerdStatementFlags /*flags*/,
                                const SerdNode* /*graph*/, const SerdNode* subject,
                                const SerdNode* predicate, const SerdNode* object,
                                const SerdNode* datatype, const SerdNode* language) {
    auto* self = static_cast<Parse*>(handle);
    const Node s = self->Term(subject, nullptr, nullptr);
    const Node o = self->Term(object, datatype, language);
    // A blank subject keeps its label with a marker that no IRI term has.
    self->statements.emplace(s.blank ? "_:" + s.text : s.text, "<" + self->Iri(predicate) + ">",
                             o.text, o.blank);
    return SERD_SUCCESS;
  }
  static SerdStatus OnPrefix(void* handle, const SerdNode* name, const SerdNode* uri) {
    return serd_env_set_prefix(static_cast<Parse*>(handle)->env, name, uri);
  }
  static SerdStatus OnError(void* handle, const SerdError* error) {
    char message[512];
    std::vsnprintf(message, sizeof(message), error->fmt, *error->args);
    auto* self = static_cast<Parse*>(handle);
    if (self->error.empty()) {
      self->error = std::to_string(error->line) + ":" + std::to_string(error->col) + ": " + message;
      while (!self->error.empty() && self->error.back() == '\n') self->error.pop_back();
    }
    return SERD_SUCCESS;
  }
};

// Folds blank nodes into their parents' lines.
class Folder {
 public:
  explicit Folder(const std::set<Statement>& statements) {
    for (const auto& [s, p, o, blank] : statements) {
      if (s.rfind("_:", 0) == 0) edges_[s.substr(2)].push_back({p, o, blank});
      if (blank) ++references_[o];
    }
  }

  CanonicalGraph Fold(const std::set<Statement>& statements) {
    CanonicalGraph graph;
    for (const auto& [label, count] : references_) {
      if (count > 1)
        return Failed("the blank node _:" + label + " is the object of " + std::to_string(count) +
                      " statements");
    }
    for (const auto& [s, p, o, blank] : statements) {
      if (s.rfind("_:", 0) == 0) continue;
      std::string line = s;
      line.append(" ").append(p).append(" ").append(blank ? Blank(o, 1) : o);
      graph.lines.push_back(std::move(line));
    }
    for (const auto& entry : edges_) {
      if (references_.count(entry.first) == 0) graph.lines.push_back(Blank(entry.first, 1));
    }
    if (!error_.empty()) return Failed(error_);
    // A blank node on a cycle is reached from no root.
    for (const auto& entry : edges_) {
      if (folded_.count(entry.first) == 0) {
        return Failed("the blank node _:" + entry.first + " is on a cycle");
      }
    }
    std::sort(graph.lines.begin(), graph.lines.end());
    return graph;
  }

 private:
  struct Edge {
    std::string predicate, object;
    bool blank;
  };

  static CanonicalGraph Failed(const std::string& why) {
    CanonicalGraph graph;
    graph.error = why;
    return graph;
  }

  std::string Blank(const std::string& label, int depth) {
    if (depth > kMaxBlankDepth) {
      if (error_.empty()) error_ = "blank nodes nest deeper than " + std::to_string(kMaxBlankDepth);
      return "[]";
    }
    folded_.insert(label);
    std::vector<std::string> parts;
    const auto found = edges_.find(label);
    if (found != edges_.end()) {
      for (const Edge& edge : found->second) {
        parts.push_back(edge.predicate + " " +
                        (edge.blank ? Blank(edge.object, depth + 1) : edge.object));
      }
    }
    std::sort(parts.begin(), parts.end());
    std::string text = "[";
    for (std::size_t i = 0; i < parts.size(); ++i) text += (i == 0 ? "" : "; ") + parts[i];
    return text + "]";
  }

  std::map<std::string, std::vector<Edge>> edges_;
  std::map<std::string, int> references_;
  std::set<std::string> folded_;
  std::string error_;
};

}  // namespace

CanonicalGraph Canonical(const std::string& text, bool ntriples) {
  Parse parse;
  parse.env = serd_env_new(nullptr);
  SerdReader* reader = serd_reader_new(ntriples ? SERD_NTRIPLES : SERD_TURTLE, &parse, nullptr,
                                       nullptr, &Parse::OnPrefix, &Parse::OnStatement, nullptr);
  serd_reader_set_strict(reader, true);
  serd_reader_set_error_sink(reader, &Parse::OnError, &parse);
  const SerdStatus status =
      serd_reader_read_string(reader, reinterpret_cast<const std::uint8_t*>(text.c_str()));
  serd_reader_free(reader);
  serd_env_free(parse.env);
  if (status != SERD_SUCCESS || !parse.error.empty()) {
    CanonicalGraph failed;
    failed.error =
        "not read: " + (parse.error.empty()
                            ? std::string(reinterpret_cast<const char*>(serd_strerror(status)))
                            : parse.error);
    return failed;
  }
  return Folder(parse.statements).Fold(parse.statements);
}

std::string GraphDifference(const CanonicalGraph& expected, const CanonicalGraph& actual,
                            std::size_t maxLines) {
  if (!expected.error.empty()) return "expected: " + expected.error;
  if (!actual.error.empty()) return "actual: " + actual.error;
  std::vector<std::string> missing;
  std::vector<std::string> extra;
  std::set_difference(expected.lines.begin(), expected.lines.end(), actual.lines.begin(),
                      actual.lines.end(), std::back_inserter(missing));
  std::set_difference(actual.lines.begin(), actual.lines.end(), expected.lines.begin(),
                      expected.lines.end(), std::back_inserter(extra));
  std::string difference;
  std::size_t shown = 0;
  for (const auto& [sign, lines] : {std::make_pair("- ", &missing), std::make_pair("+ ", &extra)}) {
    for (const std::string& line : *lines) {
      if (shown++ == maxLines) return difference + "...\n";
      difference += sign + line + "\n";
    }
  }
  return difference;
}

}  // namespace qaxoi::test
