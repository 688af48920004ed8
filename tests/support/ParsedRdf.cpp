#include "tests/support/ParsedRdf.h"

#include <serd/serd.h>

#include <map>

namespace qaxoi::test {

namespace {

struct Parse {
  std::vector<std::string> lines;
  std::map<std::string, std::string> blanks;
  SerdEnv* env = nullptr;

  std::string Show(const SerdNode* node, const SerdNode* datatype) {
    const std::string text(reinterpret_cast<const char*>(node->buf), node->n_bytes);
    switch (node->type) {
      case SERD_BLANK: {
        const auto found = blanks.emplace(text, "_:" + std::to_string(blanks.size() + 1));
        return found.first->second;
      }
      case SERD_CURIE: {
        SerdNode expanded = serd_env_expand_node(env, node);
        const std::string iri(reinterpret_cast<const char*>(expanded.buf), expanded.n_bytes);
        serd_node_free(&expanded);
        return "<" + iri + ">";
      }
      case SERD_LITERAL:
        return "\"" + text + "\"" + (datatype != nullptr ? "^^" + Show(datatype, nullptr) : "");
      default:
        return "<" + text + ">";
    }
  }

  static SerdStatus OnStatement(void* handle, SerdStatementFlags, const SerdNode*,
                                const SerdNode* subject, const SerdNode* predicate,
                                const SerdNode* object, const SerdNode* datatype, const SerdNode*) {
    auto* self = static_cast<Parse*>(handle);
    self->lines.push_back(self->Show(subject, nullptr) + " " + self->Show(predicate, nullptr) +
                          " " + self->Show(object, datatype));
    return SERD_SUCCESS;
  }
  static SerdStatus OnPrefix(void* handle, const SerdNode* name, const SerdNode* uri) {
    return serd_env_set_prefix(static_cast<Parse*>(handle)->env, name, uri);
  }
  static SerdStatus OnError(void* handle, const SerdError* error) {
    char message[512];
    std::vsnprintf(message, sizeof(message), error->fmt, *error->args);
    static_cast<Parse*>(handle)->lines = {"error: " + std::to_string(error->line) + ":" +
                                          std::to_string(error->col) + ": " + message};
    return SERD_SUCCESS;
  }
};

}  // namespace

std::vector<std::string> ParsedStatements(const std::string& text, bool ntriples) {
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
  if (status != SERD_SUCCESS && (parse.lines.empty() || parse.lines[0].rfind("error:", 0) != 0)) {
    return {std::string("error: ") + reinterpret_cast<const char*>(serd_strerror(status))};
  }
  return parse.lines;
}

}  // namespace qaxoi::test
