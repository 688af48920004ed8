#include "tools/qax-host/CommandLine.h"

namespace qaxoi::qax_host {

namespace {

// An option that takes a value: its bit, its names and what its value is.
struct ValueOptionForm {
  ValueOption bit;
  const char* name;
  const char* shortName;  // null for none
  const char* value;      // the value's name in messages
};

constexpr ValueOptionForm kValueOptions[] = {
    {kModuleOption, "--module", nullptr, "PATH"},
    {kOntologyOption, "--ontology", nullptr, "FILE"},
    {kSyntaxOption, "--syntax", nullptr, "NAME"},
    {kFormatOption, "--format", nullptr, "NAME"},
    {kOutputOption, "--output", "-o", "FILE"},
    {kFileOption, "--file", nullptr, "FILE"},
    {kShapesOption, "--shapes", nullptr, "FILE"},
    {kLangOption, "--lang", nullptr, "TAGS"},
    {kStoreOption, "--store", nullptr, "URL"},
    {kGraphOption, "--graph", nullptr, "IRI"},
    {kSparqlOption, "--sparql", nullptr, "URL"},
    {kIfVersionOption, "--if-version", nullptr, "N"},
    {kConnectTimeoutOption, "--connect-timeout", nullptr, "SECONDS"},
    {kTimeoutOption, "--timeout", nullptr, "SECONDS"},
    {kNetrcOption, "--netrc", nullptr, "FILE"},
    {kSubjectOption, "--subject", nullptr, "IRI"},
};

// The options without a value.
enum class Flag { kNone, kHelp, kVersion, kJson, kQuiet, kVerbose };

// The flag that `name` names; kNone for none.
Flag FindFlag(const std::string& name) {
  if (name == "--help" || name == "-h") return Flag::kHelp;
  if (name == "--version" || name == "-V") return Flag::kVersion;
  if (name == "--json") return Flag::kJson;
  if (name == "--quiet" || name == "-q") return Flag::kQuiet;
  if (name == "--verbose") return Flag::kVerbose;
  return Flag::kNone;
}

// The member of `line` that `flag` (not kNone) sets.
bool& FlagTarget(Flag flag, CommandLine& line) {
  switch (flag) {
    case Flag::kHelp:
      return line.help;
    case Flag::kJson:
      return line.invocation.json;
    case Flag::kQuiet:
      return line.quiet;
    case Flag::kVerbose:
      return line.verbose;
    case Flag::kVersion:
    case Flag::kNone:
      break;
  }
  return line.version;
}

const ValueOptionForm* FindValueOption(const std::string& name) {
  for (const ValueOptionForm& form : kValueOptions) {
    if (name == form.name || (form.shortName != nullptr && name == form.shortName)) return &form;
  }
  return nullptr;
}

// Where the value of `option` goes.
std::string* Target(ValueOption option, CommandLine* line) {
  Invocation& invocation = line->invocation;
  switch (option) {
    case kModuleOption:
      return &invocation.session.modulePath;
    case kOntologyOption:
      return &invocation.session.ontologyPath;
    case kSyntaxOption:
      return &line->syntax;
    case kFormatOption:
      return &invocation.format;
    case kOutputOption:
      return &invocation.output;
    case kFileOption:
      return &invocation.file;
    case kShapesOption:
      return &invocation.shapes;
    case kLangOption:
      return &line->languages;
    case kStoreOption:
      return &invocation.store;
    case kGraphOption:
      return &invocation.graph;
    case kSparqlOption:
      return &invocation.sparql;
    case kIfVersionOption:
      return &line->ifVersion;
    case kConnectTimeoutOption:
      return &line->connectTimeout;
    case kTimeoutOption:
      return &line->timeout;
    case kNetrcOption:
      return &invocation.session.network.netrcFile;
    case kSubjectOption:
      return &invocation.subject;
  }
  return &line->syntax;
}

}  // namespace

const char* OptionName(ValueOption option) {
  for (const ValueOptionForm& form : kValueOptions) {
    if (form.bit == option) return form.name;
  }
  return "?";
}

int ParseCommandLine(int argc, char** argv, CommandLine* line) {
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
      line->others.push_back(arg);
      continue;
    }
    // "-" alone is standard input or output, an argument like any other.
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      line->others.push_back(arg);
      if (line->command.empty()) {
        line->command = arg;
      } else {
        line->invocation.arguments.push_back(arg);
      }
      continue;
    }
    // "--name=value": the value is attached. Short options take theirs apart.
    std::string name = arg;
    std::string value;
    bool attached = false;
    const std::size_t equals = arg.find('=');
    if (arg[1] == '-' && equals != std::string::npos) {
      name = arg.substr(0, equals);
      value = arg.substr(equals + 1);
      attached = true;
    }
    const Flag flag = FindFlag(name);
    if (flag != Flag::kNone && attached) {
      return UsageError(name.append(" takes no value, not '").append(value).append("'"));
    }
    // --version is not among the others: it takes none.
    if (flag != Flag::kVersion) line->others.push_back(arg);
    if (flag != Flag::kNone) {
      FlagTarget(flag, *line) = true;
      continue;
    }
    const ValueOptionForm* form = FindValueOption(name);
    if (form == nullptr) {
      return UsageError("unknown option '" + arg +
                        "' (an argument that starts with '-' goes after '--')");
    }
    if (!attached) {
      if (i + 1 >= argc) return UsageError(name + " needs a " + form->value);
      value = argv[++i];
      line->others.push_back(value);
    }
    if (value.empty()) return UsageError(name + " needs a " + form->value + ", not ''");
    std::string* target = Target(form->bit, line);
    if ((line->given & form->bit) != 0) {
      return UsageError(std::string(form->name) + " is given twice, as '" + *target + "' and '" +
                        value + "'");
    }
    line->given |= form->bit;
    *target = value;
  }
  return kExitOk;
}

}  // namespace qaxoi::qax_host
