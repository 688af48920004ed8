// Beside LoadModelFile of RDF/XML: raptor's bare parse, and the
// conversion that makes the RDF/XML files the benchmark loads.
#include <raptor2.h>

#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "bench/Baselines.h"
#include "host/qax/rdf/Rdf.h"

namespace qaxoi::bench {
namespace {

struct WorldDeleter {
  void operator()(raptor_world* world) const { raptor_free_world(world); }
};
struct ParserDeleter {
  void operator()(raptor_parser* parser) const { raptor_free_parser(parser); }
};
struct SerializerDeleter {
  void operator()(raptor_serializer* serializer) const { raptor_free_serializer(serializer); }
};
struct UriDeleter {
  void operator()(raptor_uri* uri) const { raptor_free_uri(uri); }
};

void IgnoreStatement(void*, raptor_statement*) {}

struct StatementDeleter {
  void operator()(raptor_statement* statement) const { raptor_free_statement(statement); }
};
struct Statements {
  std::vector<std::unique_ptr<raptor_statement, StatementDeleter>> kept;
};

void KeepStatement(void* statements, raptor_statement* statement) {
  static_cast<Statements*>(statements)->kept.emplace_back(raptor_statement_copy(statement));
}

// Counts errors; the parse fails when there is one.
void CountError(void* errors, raptor_log_message* message) {
  if (message->level >= RAPTOR_LOG_LEVEL_ERROR) ++*static_cast<int*>(errors);
}

bool ReadWhole(const std::string& path, std::string& text) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::ostringstream bytes;
  bytes << file.rdbuf();
  text = bytes.str();
  return true;
}

}  // namespace

bool ParseRdfXmlBaseline(const std::string& path) {
  std::string document;
  if (!ReadWhole(path, document)) return false;
  int errors = 0;
  const std::unique_ptr<raptor_world, WorldDeleter> world(raptor_new_world());
  if (!world || raptor_world_open(world.get()) != 0) return false;
  raptor_world_set_log_handler(world.get(), &errors, &CountError);
  const std::unique_ptr<raptor_parser, ParserDeleter> parser(
      raptor_new_parser(world.get(), "rdfxml"));
  const std::unique_ptr<raptor_uri, UriDeleter> base(
      raptor_new_uri(world.get(), reinterpret_cast<const unsigned char*>("file:///base")));
  raptor_parser_set_statement_handler(parser.get(), nullptr, &IgnoreStatement);
  if (raptor_parser_parse_start(parser.get(), base.get()) != 0) return false;
  const int status = raptor_parser_parse_chunk(
      parser.get(), reinterpret_cast<const unsigned char*>(document.data()), document.size(), 1);
  return status == 0 && errors == 0;
}

bool WriteRdfXml(const std::string& nquadsPath, const std::string& rdfXmlPath) {
  std::string document;
  if (!ReadWhole(nquadsPath, document)) return false;
  int errors = 0;
  const std::unique_ptr<raptor_world, WorldDeleter> world(raptor_new_world());
  if (!world || raptor_world_open(world.get()) != 0) return false;
  raptor_world_set_log_handler(world.get(), &errors, &CountError);
  const std::unique_ptr<raptor_parser, ParserDeleter> parser(
      raptor_new_parser(world.get(), "nquads"));
  const std::unique_ptr<raptor_serializer, SerializerDeleter> serializer(
      raptor_new_serializer(world.get(), "rdfxml-abbrev"));
  const std::unique_ptr<raptor_uri, UriDeleter> base(
      raptor_new_uri(world.get(), reinterpret_cast<const unsigned char*>("file:///base")));
  if (!parser || !serializer) return false;
  // The statements first, to declare every namespace on the root element as
  // an ontology editor does (the serializer would otherwise declare a new
  // prefix on each element).
  Statements statements;
  raptor_parser_set_statement_handler(parser.get(), &statements, &KeepStatement);
  if (raptor_parser_parse_start(parser.get(), base.get()) != 0 ||
      raptor_parser_parse_chunk(parser.get(),
                                reinterpret_cast<const unsigned char*>(document.data()),
                                document.size(), 1) != 0 ||
      errors != 0) {
    return false;
  }
  std::set<std::string> namespaces;
  for (const auto& statement : statements.kept) {
    for (const raptor_term* term : {statement->subject, statement->predicate, statement->object}) {
      if (term->type != RAPTOR_TERM_TYPE_URI) continue;
      const std::string iri(reinterpret_cast<const char*>(raptor_uri_as_string(term->value.uri)));
      const std::size_t end = iri.find_last_of("#/");
      if (end != std::string::npos) namespaces.insert(iri.substr(0, end + 1));
    }
  }
  int number = 0;
  for (const std::string& space : namespaces) {
    const std::unique_ptr<raptor_uri, UriDeleter> uri(
        raptor_new_uri(world.get(), reinterpret_cast<const unsigned char*>(space.c_str())));
    const std::string prefix = "n" + std::to_string(++number);
    raptor_serializer_set_namespace(serializer.get(), uri.get(),
                                    reinterpret_cast<const unsigned char*>(prefix.c_str()));
  }
  if (raptor_serializer_start_to_filename(serializer.get(), rdfXmlPath.c_str()) != 0) return false;
  for (const auto& statement : statements.kept) {
    raptor_serializer_serialize_statement(serializer.get(), statement.get());
  }
  return raptor_serializer_serialize_end(serializer.get()) == 0 && errors == 0;
}

}  // namespace qaxoi::bench
