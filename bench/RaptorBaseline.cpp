// Beside OntologyModel::LoadFile of RDF/XML: raptor's bare parse, and the
// conversion that makes the RDF/XML files the benchmark loads.
#include <raptor2.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "bench/Baselines.h"

namespace qax_bench {
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

void Serialize(void* serializer, raptor_statement* statement) {
  raptor_serializer_serialize_statement(static_cast<raptor_serializer*>(serializer), statement);
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
  if (!parser || !serializer ||
      raptor_serializer_start_to_filename(serializer.get(), rdfXmlPath.c_str()) != 0) {
    return false;
  }
  raptor_parser_set_statement_handler(parser.get(), serializer.get(), &Serialize);
  const bool parsed = raptor_parser_parse_start(parser.get(), base.get()) == 0 &&
                      raptor_parser_parse_chunk(
                          parser.get(), reinterpret_cast<const unsigned char*>(document.data()),
                          document.size(), 1) == 0;
  return raptor_serializer_serialize_end(serializer.get()) == 0 && parsed && errors == 0;
}

}  // namespace qax_bench
