#include "tests/support/RdfVariants.h"

#include <raptor2.h>
#include <serd/serd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <sstream>
#include <unordered_map>

namespace qaxoi::test {
namespace {

// Reports serd's first error as "line:col: message" in `handle`, a string.
SerdStatus OnError(void* handle, const SerdError* error) {
  char message[512];
  std::vsnprintf(message, sizeof(message), error->fmt, *error->args);
  auto* first = static_cast<std::string*>(handle);
  if (first->empty()) {
    *first = std::to_string(error->line) + ":" + std::to_string(error->col) + ": " + message;
  }
  return SERD_SUCCESS;
}

struct RaptorWorld {
  raptor_world* world = raptor_new_world();
  std::string error;
  RaptorWorld() {
    raptor_world_set_log_handler(world, this, [](void* handle, raptor_log_message* message) {
      auto* self = static_cast<RaptorWorld*>(handle);
      if (message->level >= RAPTOR_LOG_LEVEL_ERROR && self->error.empty()) {
        self->error = message->text != nullptr ? message->text : "raptor failed";
      }
    });
  }
  ~RaptorWorld() { raptor_free_world(world); }
  RaptorWorld(const RaptorWorld&) = delete;
  RaptorWorld& operator=(const RaptorWorld&) = delete;
};

}  // namespace

bool ReadStatements(const std::string& text, rdf::RdfSyntax syntax, const std::string& base,
                    Statements* statements, std::string* error) {
  statements->clear();
  static const std::pair<rdf::RdfSyntax, SerdSyntax> kSerdSyntaxes[] = {
      {rdf::RdfSyntax::kTurtle, SERD_TURTLE},
      {rdf::RdfSyntax::kNTriples, SERD_NTRIPLES},
      {rdf::RdfSyntax::kNQuads, SERD_NQUADS},
      {rdf::RdfSyntax::kTriG, SERD_TRIG},
  };
  const auto found = std::find_if(std::begin(kSerdSyntaxes), std::end(kSerdSyntaxes),
                                  [syntax](const auto& entry) { return entry.first == syntax; });
  if (found == std::end(kSerdSyntaxes)) {
    *error = "no reader for the syntax";
    return false;
  }
  // serd's reader feeds its N-Triples writer, which expands prefixed names
  // and resolves relative IRIs; the document is then split into lines.
  std::string written;
  SerdURI baseUri = SERD_URI_NULL;
  SerdNode baseNode = serd_node_new_uri_from_string(reinterpret_cast<const uint8_t*>(base.c_str()),
                                                    nullptr, &baseUri);
  SerdEnv* env = serd_env_new(base.empty() ? nullptr : &baseNode);
  SerdWriter* writer = serd_writer_new(
      SERD_NTRIPLES, SERD_STYLE_RESOLVED, env, base.empty() ? nullptr : &baseUri,
      [](const void* buffer, std::size_t length, void* stream) {
        static_cast<std::string*>(stream)->append(static_cast<const char*>(buffer), length);
        return length;
      },
      &written);
  SerdReader* reader = serd_reader_new(
      found->second, writer, nullptr,
      [](void* handle, const SerdNode* uri) {
        return serd_writer_set_base_uri(static_cast<SerdWriter*>(handle), uri);
      },
      [](void* handle, const SerdNode* name, const SerdNode* uri) {
        return serd_writer_set_prefix(static_cast<SerdWriter*>(handle), name, uri);
      },
      [](void* handle, SerdStatementFlags flags, const SerdNode* graph, const SerdNode* subject,
         const SerdNode* predicate, const SerdNode* object, const SerdNode* datatype,
         const SerdNode* language) {
        return serd_writer_write_statement(static_cast<SerdWriter*>(handle), flags, graph, subject,
                                           predicate, object, datatype, language);
      },
      nullptr);
  serd_reader_set_strict(reader, true);
  error->clear();
  serd_reader_set_error_sink(reader, &OnError, error);
  serd_writer_set_error_sink(writer, &OnError, error);
  const SerdStatus status =
      serd_reader_read_string(reader, reinterpret_cast<const uint8_t*>(text.c_str()));
  serd_writer_finish(writer);
  serd_reader_free(reader);
  serd_writer_free(writer);
  serd_env_free(env);
  serd_node_free(&baseNode);
  if (status != SERD_SUCCESS && error->empty()) {
    *error = reinterpret_cast<const char*>(serd_strerror(status));
  }
  std::istringstream lines(written);
  for (std::string line; std::getline(lines, line);) statements->push_back(line);
  return error->empty();
}

Statements Shuffled(Statements statements, unsigned seed) {
  std::mt19937 random(seed);
  std::shuffle(statements.begin(), statements.end(), random);
  return statements;
}

Statements Relabelled(const Statements& statements, unsigned seed) {
  std::mt19937 random(seed);
  std::unordered_map<std::string, std::string> labels;
  const auto relabel = [&](const std::string& label) -> const std::string& {
    auto [found, added] = labels.emplace(label, std::string());
    if (added)
      found->second = "_:r" + std::to_string(random()) + "x" + std::to_string(labels.size());
    return found->second;
  };
  Statements out;
  out.reserve(statements.size());
  for (const std::string& statement : statements) {
    // A blank node starts a term: at the start, or after the space that
    // ends the subject or the predicate (a literal's text never holds " _:"
    // at a term's start, since the object is the last term).
    std::string line;
    std::size_t at = 0;
    for (int term = 0; term < 3; ++term) {
      std::size_t end = statement.find(' ', at);
      if (term == 2) end = statement.size() - 2;  // before " ."
      const std::string text = statement.substr(at, end - at);
      line += (term == 0 ? "" : " ") + (text.compare(0, 2, "_:") == 0 ? relabel(text) : text);
      at = end + 1;
    }
    out.push_back(line + " .");
  }
  return out;
}

std::string Written(const Statements& statements, rdf::RdfSyntax syntax) {
  constexpr std::size_t kGraphs = 3;
  std::string out;
  if (syntax == rdf::RdfSyntax::kTriG) out += "<http://graphs.test/0> {\n";
  for (std::size_t i = 0; i < statements.size(); ++i) {
    const std::string& statement = statements[i];
    if (syntax == rdf::RdfSyntax::kNQuads) {
      out += statement.substr(0, statement.size() - 1) + "<http://graphs.test/" +
             std::to_string(i % kGraphs) + "> .\n";
    } else {
      out += statement + "\n";
    }
  }
  if (syntax == rdf::RdfSyntax::kTriG) out += "}\n";
  return out;
}

bool Serialized(const Statements& statements, const char* serializer,
                const std::vector<std::pair<std::string, std::string>>& prefixes,
                std::string* document, std::string* error) {
  // RDF/XML spells its own syntax with these names: as predicates they
  // cannot be written (raptor writes them, and no reader reads them back).
  static const char* const kSyntaxNames[] = {
      "RDF",    "Description", "ID", "about",     "parseType",       "resource",
      "nodeID", "datatype",    "li", "aboutEach", "aboutEachPrefix", "bagID"};
  if (std::string(serializer).compare(0, 6, "rdfxml") == 0) {
    for (const std::string& statement : statements) {
      const std::size_t start = statement.find(" <") + 2;
      const std::string predicate = statement.substr(start, statement.find('>', start) - start);
      for (const char* name : kSyntaxNames) {
        if (predicate == std::string("http://www.w3.org/1999/02/22-rdf-syntax-ns#") + name) {
          *error = "RDF/XML cannot write the predicate <" + predicate + ">";
          return false;
        }
      }
    }
  }
  RaptorWorld raptor;
  raptor_serializer* writer = raptor_new_serializer(raptor.world, serializer);
  if (writer == nullptr) {
    *error = std::string("no raptor serializer ") + serializer;
    return false;
  }
  for (const auto& [name, ns] : prefixes) {
    raptor_uri* uri =
        raptor_new_uri(raptor.world, reinterpret_cast<const unsigned char*>(ns.c_str()));
    raptor_serializer_set_namespace(
        writer, uri, name.empty() ? nullptr : reinterpret_cast<const unsigned char*>(name.c_str()));
    raptor_free_uri(uri);
  }
  void* written = nullptr;
  std::size_t length = 0;
  raptor_serializer_start_to_string(writer, nullptr, &written, &length);
  // N-Triples read by raptor's Turtle parser, of which it is a subset:
  // raptor 2.0.15's own N-Triples parser leaks the URIs of some terms.
  raptor_parser* parser = raptor_new_parser(raptor.world, "turtle");
  raptor_parser_set_statement_handler(
      parser, writer, [](void* handle, raptor_statement* statement) {
        raptor_serializer_serialize_statement(static_cast<raptor_serializer*>(handle), statement);
      });
  raptor_uri* base =
      raptor_new_uri(raptor.world, reinterpret_cast<const unsigned char*>("http://base.test/"));
  raptor_parser_parse_start(parser, base);
  for (const std::string& statement : statements) {
    const std::string line = statement + "\n";
    raptor_parser_parse_chunk(parser, reinterpret_cast<const unsigned char*>(line.data()),
                              line.size(), 0);
  }
  raptor_parser_parse_chunk(parser, nullptr, 0, 1);
  raptor_free_uri(base);
  raptor_free_parser(parser);
  raptor_serializer_serialize_end(writer);
  raptor_free_serializer(writer);
  if (written != nullptr) {
    document->assign(static_cast<const char*>(written), length);
    raptor_free_memory(written);
  }
  *error = raptor.error;
  return error->empty() && written != nullptr;
}

}  // namespace qaxoi::test
