// qax-host: a command-line host for the QAXOntologyItem channel module. It
// loads the module from its file as a host engine does and uses it as the
// engine's editor would, with channel group files.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <vector>

#include <unistd.h>

#include "host/files/InputFile.h"
#include "host/qax/rdf/RdfSyntax.h"
#include "host/qax/store/StoreOptions.h"
#include "host/sdk/EngineInterface.h"
#include "host/sdk/GroupFileFormat.h"
#include "tools/qax-host/Activity.h"
#include "tools/qax-host/ChannelText.h"
#include "tools/qax-host/CommandLine.h"
#include "tools/qax-host/Commands.h"
#include "tools/qax-host/Languages.h"
#include "tools/qax-host/NearestNames.h"
#include "tools/qax-host/Output.h"
#include "tools/qax-host/Verbosity.h"

namespace {

using qaxoi::qax_host::Invocation;
using qaxoi::rdf::ListRdfSyntaxes;
using qaxoi::rdf::RdfSyntaxInfo;

struct Command {
  const char* name;
  int (*run)(const Invocation&);
  const char* usage;    // the command's arguments
  const char* summary;  // one line for the command list
  const char* help;     // what it does, and its own options
  bool json;            // takes --json
  unsigned options;     // the ValueOption bits of --format, --output, --file it takes
  bool readsArgument;   // its first argument is an input file ("-": standard input)
  // Every argument is an input file.
  bool readsEveryArgument = false;
};

// The options that only some commands take.
constexpr unsigned kDrawingOptions =
    qaxoi::qax_host::kFormatOption | qaxoi::qax_host::kOutputOption | qaxoi::qax_host::kFileOption;
constexpr unsigned kPublishOptions = qaxoi::qax_host::kStoreOption | qaxoi::qax_host::kGraphOption |
                                     qaxoi::qax_host::kSparqlOption |
                                     qaxoi::qax_host::kIfVersionOption;
constexpr unsigned kUnpublishOptions =
    qaxoi::qax_host::kStoreOption | qaxoi::qax_host::kGraphOption;
constexpr unsigned kValidationOptions = qaxoi::qax_host::kFormatOption |
                                        qaxoi::qax_host::kOutputOption |
                                        qaxoi::qax_host::kShapesOption;

const Command kCommands[] = {
    {"tour", qaxoi::qax_host::RunTour, "", "show a short tour of what qax-host does",
     "A short tour: the classes, the links of zoo:Penguin and an item built from\n"
     "values (what qax-host does without a command).",
     false, 0, false},
    {"type", qaxoi::qax_host::RunType, "", "print the module's channel type descriptor",
     "Prints the channel type descriptor that the module's GetType gives, and the\n"
     "name of a channel that its InitDLL makes.",
     false, 0, false},
    {"classes", qaxoi::qax_host::RunClasses, "", "list the ontology's libraries and classes",
     "Lists the libraries of the ontology and their classes, with each class's\n"
     "label (in the languages of --lang), IRI and parent.",
     true, 0, false},
    {"describe", qaxoi::qax_host::RunDescribe,
     "CLASS|LIBRARY:", "print the module's description of a class",
     "Prints the module's description of CLASS: its label (in the languages of\n"
     "--lang), parent, documentation and own attributes; then the attributes it\n"
     "inherits, under the class each comes from. LIBRARY: (a library's name and\n"
     "a colon) prints the library's namespace, its number of classes and the\n"
     "properties of its namespace that no class has as an attribute.",
     true, 0, false},
    {"links", qaxoi::qax_host::RunLinks, "CLASS [ATTRIBUTE=VALUE ...]",
     "show the child links a channel declares for a class",
     "Shows the child links a channel declares for CLASS: position, index, type\n"
     "name, link name and the attribute's label (attributes of parent classes\n"
     "first). With values, the links of the channel that build makes for them: an\n"
     "attribute given several values has a value link for each after its first,\n"
     "marked \"value N of link L\".",
     true, 0, false},
    {"shapes", qaxoi::qax_host::RunShapes, "[CLASS ...]",
     "print the SHACL shapes the ontology states for classes",
     "Prints, as Turtle, the SHACL shapes that the ontology states for each CLASS\n"
     "(every class when none is named): a node shape per class with one\n"
     "property shape per attribute, its parents' first, from the attribute's\n"
     "ranges, counts and enumerations (docs/validation.md).\n"
     "  --output FILE, -o FILE  where to write (default and -: standard output)",
     false, qaxoi::qax_host::kOutputOption, false},
    {"build", qaxoi::qax_host::RunBuild, "CLASS [ATTRIBUTE=VALUE ...]",
     "build an ontology item from attribute values",
     "Builds a channel for CLASS, links a child holding each VALUE to its\n"
     "ATTRIBUTE, and prints the ontology item the channel builds. Texts and dates\n"
     "as given; booleans true/false (yes/no, on/off, 1/0); numbers as numbers.\n"
     "A nested item takes values as ATTRIBUTE.NESTED=VALUE; its class is the\n"
     "attribute's range, or a class of the range (or below it) given as\n"
     "ATTRIBUTE=CLASS. An attribute given again takes several values (tag=a\n"
     "tag=b); ATTRIBUTE[N].NESTED=VALUE is for the nested item of its Nth value.",
     true, 0, false},
    {"save", qaxoi::qax_host::RunSave, "CLASS FILE [ATTRIBUTE=VALUE ...]",
     "save a channel graph with values as a group file",
     "Builds the channels as build does and saves them, with their values, as the\n"
     "channel group file FILE (replaced whole, or left as it was on failure).\n"
     "FILE - writes the group to standard output.",
     false, 0, false},
    {"load", qaxoi::qax_host::RunLoad, "FILE", "load a group file through the module and show it",
     "Loads the channel group file FILE through the module and prints its\n"
     "channels, their links and the items its ontology item channels build.\n"
     "FILE - reads the group from standard input.",
     true, 0, true},
    {"dump", qaxoi::qax_host::RunDump, "FILE", "show the structure and records of a group file",
     "Prints the structure of the channel group file FILE: each channel's type,\n"
     "host state, records (tag, size, decoded value or hex) and links. Needs\n"
     "neither the module nor the ontology; with --ontology, also says on\n"
     "standard error when the group was saved against another vocabulary.\n"
     "FILE - reads standard input.",
     true, 0, true},
    {"export", qaxoi::qax_host::RunExport,
     "(CLASS [ATTRIBUTE=VALUE ...] | --file FILE) [--subject IRI]",
     "write ontology items as RDF (Turtle, N-Triples or JSON-LD)",
     "Writes the item that a class with values builds, or the items of a group\n"
     "file's item channels (those no other item channel links), as RDF instance\n"
     "data: each item a blank node (or --subject's IRI) of its class, one\n"
     "statement per value, typed by the attribute's kind.\n"
     "  --file FILE                      the group file (- reads standard input)\n"
     "  --subject IRI                    the item's IRI instead of a blank node\n"
     "                                  (an absolute IRI; --file: a group of one\n"
     "                                  item)\n"
     "  --format turtle|ntriples|jsonld  turtle (default), N-Triples, or\n"
     "                                  JSON-LD 1.1 (nested items embedded)\n"
     "  --output FILE, -o FILE           where to write (default and -: standard\n"
     "                                  output)",
     false, kDrawingOptions | qaxoi::qax_host::kSubjectOption, false},
    {"graph", qaxoi::qax_host::RunGraph, "(CLASS [ATTRIBUTE=VALUE ...] | --file FILE)",
     "draw a channel graph as DOT, SVG or PNG",
     "Draws the channel graph of a class with values, or of a group file.\n"
     "  --file FILE           the group file (- reads standard input)\n"
     "  --format dot|svg|png  dot (default) is printed or written; svg and png\n"
     "                        need Graphviz's dot program\n"
     "  --output FILE         where to write (needed for svg and png; -:\n"
     "                        standard output)",
     false, kDrawingOptions, false},
    {"validate", qaxoi::qax_host::RunValidate, "--shapes SHAPES DATA...",
     "check RDF data files against SHACL shapes",
     "Validates the RDF files DATA (one data graph) against the SHACL shapes of\n"
     "SHAPES (SHACL Core) and prints the validation report: a line per result\n"
     "(severity, focus node, path, value, message) and a summary. Syntaxes come\n"
     "from the files' extensions, else their first bytes. Exit code 0 when the\n"
     "data conforms, 1 when it does not, 2 when a file cannot be read or SHAPES\n"
     "is not valid SHACL.\n"
     "  --shapes FILE               the shapes graph (- reads standard input)\n"
     "  --format text|turtle|json   text (default), the report as Turtle, or as\n"
     "                              JSON\n"
     "  --output FILE, -o FILE      where to write (default and -: standard\n"
     "                              output)",
     false, kValidationOptions, false, true},
    {"migrate", qaxoi::qax_host::RunMigrate, "--ontology NEW FILE [OUT]",
     "bind a group's values to another release of its vocabulary",
     "Loads the group file FILE against the vocabulary NEW and prints, per item\n"
     "channel, what each saved link binds to: unchanged, moved (the same\n"
     "attribute at another position or under another library name), migrated\n"
     "(to the replacement or equivalent the vocabulary names), or unbound (no\n"
     "attribute any more: the value is kept in the group and left out of the\n"
     "item). With OUT, writes the group as saved against NEW (replaced whole, or\n"
     "left as it was on failure). Exit code 0 when every value has its\n"
     "attribute, 1 when any is left without one.",
     true, 0, true},
    {"check", qaxoi::qax_host::RunCheck, "FILE [--shapes SHAPES]",
     "check the items of a group file against their ontology",
     "Builds the item of every item channel of the group file FILE that no other\n"
     "item channel links, writes them as RDF (the item of channel #N as\n"
     "channel:N, a nested item by its path, as channel:N.habitat or\n"
     "channel:N.habitat[2] for the second value, with the ontology's subclasses)\n"
     "and validates them against the shapes the ontology states for their\n"
     "classes (see the shapes command), and the shapes of SHAPES too when given:\n"
     "one shapes graph, one report. Output and exit codes as validate.\n"
     "  --shapes FILE               more SHACL shapes (- reads standard input)\n"
     "  --format text|turtle|json   text (default), Turtle or JSON\n"
     "  --output FILE, -o FILE      where to write (default and -: standard\n"
     "                              output)",
     false, kValidationOptions, true},
    {"publish", qaxoi::qax_host::RunPublish,
     "FILE --store URL [--graph IRI] [--sparql URL --if-version N]",
     "publish the items of a group file to an RDF store as a named graph",
     "Builds the items of the group file FILE as check does (every item channel\n"
     "that no other item channel links, nested items inside) and writes them to\n"
     "an RDF store as one named graph, replacing the graph's previous content in\n"
     "one request: a reader sees the old graph or the new one, never a mix.\n"
     "Says the graph's IRI and the number of items on standard error (--json:\n"
     "a JSON object on standard output).\n"
     "Exit code 1 when the store refuses or cannot be reached (docs/store.md).\n"
     "  --store URL     the store's SPARQL 1.1 Graph Store Protocol endpoint\n"
     "                  (Virtuoso: http://HOST:8890/sparql-graph-crud; Fuseki:\n"
     "                  .../DATASET/data; Oxigraph: .../store)\n"
     "  --graph IRI     the graph (default: urn:qax-host:group: and FILE's name;\n"
     "                  a graph= or graph-uri= in the URL names it too)\n"
     "  --sparql URL    the store's SPARQL 1.1 update endpoint (Virtuoso:\n"
     "                  http://HOST:8890/sparql): the graph is replaced by one\n"
     "                  update request instead of a PUT (needed by\n"
     "                  --if-version; on Virtuoso, whose racing PUTs of one\n"
     "                  graph may mix, the way for publishers that may race)\n"
     "  --if-version N  replace the graph only if it carries version N (0: no\n"
     "                  version), and give it N+1; a graph at another version\n"
     "                  is left alone and the publish refused with exit code 1",
     true, kPublishOptions, true},
    {"unpublish", qaxoi::qax_host::RunUnpublish, "--store URL --graph IRI",
     "remove a named graph from an RDF store",
     "Deletes the named graph from the store (Graph Store Protocol DELETE).\n"
     "Exit code 1 when the store has no such graph, refuses or cannot be\n"
     "reached.\n"
     "  --store URL  the store's Graph Store Protocol endpoint\n"
     "  --graph IRI  the graph (or graph= / graph-uri= in the URL)",
     false, kUnpublishOptions, false},
    {"query", qaxoi::qax_host::RunQuery, "--sparql URL QUERY",
     "send a SPARQL query to a store and print the results",
     "Sends the SPARQL query QUERY (SELECT or ASK; - reads it from standard\n"
     "input) to a SPARQL 1.1 Protocol endpoint and prints the results as a\n"
     "table: a column per variable, terms as in N-Triples (<IRI>, \"text\"@en,\n"
     "\"1\"^^<datatype>, _:blank), an unbound one empty; ASK prints true or\n"
     "false. --json prints the SPARQL 1.1 query results JSON format.\n"
     "  --sparql URL  the endpoint (Virtuoso: http://HOST:8890/sparql;\n"
     "                Fuseki: .../DATASET/query; Oxigraph: .../query)",
     true, qaxoi::qax_host::kSparqlOption, false},
};

// The options' help: each option, then its description from kHelpColumn
// on, wrapped at kHelpWidth columns and wherever the description holds a
// line end (a word longer than the room stays whole on a line of its own).
// An option too wide to leave kOptionGap blanks before that column has its
// description start on the next line: the option is shown whole, and readers
// of the help (help2man, which makes the manual page) tell the two apart.
constexpr std::size_t kHelpColumn = 20;
constexpr std::size_t kHelpWidth = 76;
constexpr std::size_t kOptionGap = 2;

std::string OptionHelp(const char* option, const std::string& description) {
  std::string text = std::string("  ") + option;
  std::size_t lineStart = 0;
  if (text.size() + kOptionGap > kHelpColumn) {
    text += '\n';
    lineStart = text.size();
  }
  text.resize(lineStart + kHelpColumn - 1, ' ');
  std::size_t at = 0;
  while (at < description.size()) {
    const std::size_t end = std::min(description.find(' ', at), description.find('\n', at));
    const std::string word = description.substr(at, end - at);
    const bool breakBefore = at > 0 && (description[at - 1] == '\n' ||
                                        text.size() - lineStart + 1 + word.size() > kHelpWidth);
    if (breakBefore) {
      text += '\n';
      lineStart = text.size();
      text.append(kHelpColumn, ' ');
    } else {
      text += ' ';
    }
    text += word;
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return text + '\n';
}

std::string OptionsHelp() {
  return "options (any command):\n" +
         OptionHelp("--module PATH",
                    std::string("the channel module (default: QAXOntologyItem.so beside "
                                "qax-host, else in ") +
                        QAX_HOST_INSTALLED_MODULE_FOLDER + " from qax-host's folder)") +
         OptionHelp("--ontology FILE", "a vocabulary (" +
                                           ListRdfSyntaxes(&RdfSyntaxInfo::title, "or") +
                                           ") instead of the built-in sample ontology; an "
                                           "http(s) URL is fetched (a store's graph, any "
                                           "document)") +
         OptionHelp("--syntax NAME",
                    "the vocabulary's syntax: " + ListRdfSyntaxes(&RdfSyntaxInfo::name, "or") +
                        " (default: from the file's extension, else\nfrom "
                        "its first bytes)") +
         OptionHelp("--lang TAGS",
                    "the languages to show labels and documentation in, most wanted first "
                    "(pt-br,en; default: from LANGUAGE, LC_ALL, LC_MESSAGES or LANG; "
                    "classes, describe, links)") +
         OptionHelp("--connect-timeout SECONDS",
                    "the longest to wait for a connection to a store or web server "
                    "(default: " +
                        std::to_string(qaxoi::store::kDefaultConnectTimeout.count() / 1000) + ")") +
         OptionHelp("--timeout SECONDS",
                    "the longest one request to a store or web server may take (default: " +
                        std::to_string(qaxoi::store::kDefaultTotalTimeout.count() / 1000) + ")") +
         OptionHelp("--netrc FILE",
                    "the .netrc file with the credentials for stores and web servers "
                    "(default: ~/.netrc when there is one; QAX_STORE_CREDENTIALS=user:password "
                    "in the environment comes first)") +
         "  --json            one JSON document on standard output, for scripts\n"
         "                    (classes, describe, links, build, load, dump)\n"
         "  --quiet, -q       errors only on standard error: no warnings, notes or\n"
         "                    confirmations\n"
         "  --verbose         every warning of loading a vocabulary or RDF file in\n"
         "                    full (default: one warning, or a line that counts them)\n"
         "  --help, -h        help on qax-host, or on the command given\n"
         "  --version, -V     the versions of qax-host, the module and group files\n"
         "\n"
         "An option's value may follow it or an '=' (--format=dot); '--' ends the\n"
         "options, so that an argument after it may start with '-'. A FILE of '-' is\n"
         "standard input, or standard output for what is written.\n"
         "\n"
         "Classes are named by IRI, as prefix:Name, or by bare name when that is\n"
         "unambiguous. Standard output holds only what a command shows or writes;\n"
         "confirmations, notes and messages go to standard error, the module's\n"
         "marked \"qax-host: module:\".\n";
}

const Command* FindCommand(const std::string& name) {
  for (const Command& command : kCommands) {
    if (name == command.name) return &command;
  }
  return nullptr;
}

// The width of the command list's first column: the longest command's name
// and a blank, so that two blanks at least part a name from its summary.
int CommandColumn() {
  std::size_t widest = 0;
  for (const Command& command : kCommands) widest = std::max(widest, std::strlen(command.name));
  return static_cast<int>(widest + 1);
}

void PrintHelp() {
  std::printf("Usage: qax-host [options] [COMMAND [ARGUMENTS]]\n\ncommands:\n");
  for (const Command& command : kCommands) {
    std::printf("  %-*s %s\n", CommandColumn(), command.name, command.summary);
  }
  std::printf("\n%s", OptionsHelp().c_str());
}

void PrintCommandHelp(const Command& command) {
  std::printf("Usage: qax-host [options] %s %s\n\n%s\n\n%s", command.name, command.usage,
              command.help, OptionsHelp().c_str());
}

void PrintVersion() {
  std::printf("qax-host %s\n", QAX_HOST_VERSION);
  std::printf("module QAXOntologyItem %s\n", QAX_HOST_VERSION);
  // Every format version from the first up to the one written is read.
  const unsigned written = kGroupFileVersion;
  if (written == 1) {
    std::printf("group files: reads and writes format version 1\n");
  } else {
    std::printf("group files: reads format versions 1 to %u, writes version %u\n", written,
                written);
  }
}

// The module's file when --module does not name one: beside this program,
// where the build puts it, else in the library folder of an installation
// (QAX_HOST_INSTALLED_MODULE_FOLDER, relative to the program's folder). The
// program's folder is that of its file, found through /proc/self/exe, so
// that a program run from PATH or through a symbolic link finds its module;
// argv[0]'s folder where that cannot be read. When neither file is there,
// the path beside the program, which the error then names.
std::string DefaultModulePath(const char* argv0) {
  constexpr const char* kModuleFile = "QAXOntologyItem.so";
  std::string program = argv0 != nullptr ? argv0 : "";
  char resolved[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", resolved, sizeof(resolved) - 1);
  if (length > 0) program.assign(resolved, static_cast<std::size_t>(length));
  const std::size_t slash = program.find_last_of('/');
  const std::string folder =
      slash == std::string::npos ? std::string(".") : program.substr(0, slash);
  std::string beside = folder + "/" + kModuleFile;
  if (::access(beside.c_str(), F_OK) == 0) return beside;
  std::string installed = folder + "/" + QAX_HOST_INSTALLED_MODULE_FOLDER + "/" + kModuleFile;
  if (::access(installed.c_str(), F_OK) == 0) return installed;
  return beside;
}

// The commands that take `option`, and the verb: "export and graph take
// it", "export takes it".
std::string CommandsTaking(qaxoi::qax_host::ValueOption option) {
  std::vector<std::string> names;
  for (const Command& command : kCommands) {
    if ((command.options & option) != 0) names.emplace_back(command.name);
  }
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
    text += names[i];
  }
  return text + (names.size() == 1 ? " takes it" : " take it");
}

// The longest timeout the options take: a day.
constexpr double kMaxTimeoutSeconds = 86400;
// The environment variable that holds a store's credentials.
constexpr const char* kCredentialsVariable = "QAX_STORE_CREDENTIALS";

// Reads --SECONDS option `name`'s `value` into `duration`: kExitOk, or
// kExitUsage after naming a value that is no positive number of seconds.
int ReadSeconds(const char* name, const std::string& value, std::chrono::milliseconds* duration) {
  char* end = nullptr;
  errno = 0;
  const double seconds = std::strtod(value.c_str(), &end);
  if (value.empty() || end != value.c_str() + value.size() || errno != 0 || !(seconds > 0) ||
      seconds > kMaxTimeoutSeconds) {
    return qaxoi::qax_host::UsageError(std::string(name) + ": '" + value +
                                       "' is no number of seconds from 0.001 to 86400");
  }
  *duration = std::chrono::milliseconds(std::llround(seconds * 1000));
  if (duration->count() == 0) *duration = std::chrono::milliseconds(1);
  return qaxoi::qax_host::kExitOk;
}

// The options and environment that say how stores and web documents are
// reached: kExitOk, or kExitUsage after naming what is wrong.
int ReadNetworkOptions(const qaxoi::qax_host::CommandLine& line, Invocation* invocation) {
  qaxoi::store::StoreOptions& network = invocation->session.network;
  if ((line.given & qaxoi::qax_host::kConnectTimeoutOption) != 0) {
    if (const int failed =
            ReadSeconds("--connect-timeout", line.connectTimeout, &network.connectTimeout)) {
      return failed;
    }
  }
  if ((line.given & qaxoi::qax_host::kTimeoutOption) != 0) {
    if (const int failed = ReadSeconds("--timeout", line.timeout, &network.totalTimeout)) {
      return failed;
    }
  }
  if ((line.given & qaxoi::qax_host::kIfVersionOption) != 0) {
    const std::string& value = line.ifVersion;
    errno = 0;
    char* end = nullptr;
    const unsigned long long version = std::strtoull(value.c_str(), &end, 10);
    if (value.find_first_not_of("0123456789") != std::string::npos || errno != 0 ||
        version >= std::numeric_limits<std::uint64_t>::max()) {
      return qaxoi::qax_host::UsageError("--if-version: '" + value +
                                         "' is no version (a whole number, 0 for none)");
    }
    invocation->ifVersion = version;
  }
  if (const char* credentials = std::getenv(kCredentialsVariable);
      credentials != nullptr && credentials[0] != '\0') {
    if (std::strchr(credentials, ':') == nullptr) {
      return qaxoi::qax_host::UsageError(std::string(kCredentialsVariable) +
                                         " holds no user:password");
    }
    network.credentials = credentials;
  }
  if ((line.given & qaxoi::qax_host::kNetrcOption) == 0) {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
      const std::string netrc = std::string(home) + "/.netrc";
      if (::access(netrc.c_str(), R_OK) == 0) network.netrcFile = netrc;
    }
  }
  return qaxoi::qax_host::kExitOk;
}

// Checks what the command line gives against the command it names, before
// anything is loaded; answers kExitOk or kExitUsage after printing why.
int CheckCommandLine(const qaxoi::qax_host::CommandLine& line, const Command& command) {
  const Invocation& invocation = line.invocation;
  for (const qaxoi::qax_host::ValueOption option :
       {qaxoi::qax_host::kFormatOption, qaxoi::qax_host::kOutputOption,
        qaxoi::qax_host::kFileOption, qaxoi::qax_host::kShapesOption, qaxoi::qax_host::kStoreOption,
        qaxoi::qax_host::kGraphOption, qaxoi::qax_host::kSparqlOption,
        qaxoi::qax_host::kIfVersionOption, qaxoi::qax_host::kSubjectOption}) {
    if ((line.given & option) != 0 && (command.options & option) == 0) {
      return qaxoi::qax_host::UsageError(std::string(qaxoi::qax_host::OptionName(option)) +
                                         " is no option of " + command.name + " (" +
                                         CommandsTaking(option) + ")");
    }
  }
  if (invocation.json && !command.json) {
    return qaxoi::qax_host::UsageError(std::string(command.name) + " has no --json output");
  }
  if (invocation.session.modulePath == qaxoi::files::kStandardStreamPath) {
    return qaxoi::qax_host::UsageError(
        "--module: '-' names no module; a module is loaded from a file by its path");
  }
  // Standard input can be read once.
  std::vector<std::string> readers;
  if (invocation.session.ontologyPath == qaxoi::files::kStandardStreamPath) {
    readers.emplace_back("--ontology");
  }
  if (invocation.file == qaxoi::files::kStandardStreamPath) readers.emplace_back("--file");
  if (invocation.shapes == qaxoi::files::kStandardStreamPath) readers.emplace_back("--shapes");
  if (command.readsArgument && !invocation.arguments.empty() &&
      invocation.arguments.front() == qaxoi::files::kStandardStreamPath) {
    readers.push_back(std::string(command.name) + "'s FILE");
  }
  for (const std::string& argument : invocation.arguments) {
    if (command.readsEveryArgument && argument == qaxoi::files::kStandardStreamPath) {
      readers.push_back(std::string(command.name) + "'s DATA");
    }
  }
  if (readers.size() > 1) {
    return qaxoi::qax_host::UsageError("standard input ('-') is read once, but is given for both " +
                                       readers[0] + " and " + readers[1]);
  }
  return qaxoi::qax_host::kExitOk;
}

// Parses the command line and runs the command it names; answers the exit
// code.
int RunCommandLine(int argc, char** argv) {
  const qaxoi::qax_host::Activity reading("reading the command line");
  qaxoi::qax_host::CommandLine line;
  Invocation& invocation = line.invocation;
  invocation.session.modulePath = DefaultModulePath(argc > 0 ? argv[0] : nullptr);
  if (const int failed = qaxoi::qax_host::ParseCommandLine(argc, argv, &line)) return failed;
  if (line.version) {
    if (!line.others.empty()) {
      return qaxoi::qax_host::UsageError("--version takes no other arguments, not '" +
                                         line.others.front() + "'");
    }
    PrintVersion();
    return qaxoi::qax_host::FinishOutput(qaxoi::qax_host::kExitOk);
  }
  if (line.quiet && line.verbose) {
    return qaxoi::qax_host::UsageError(
        "--quiet and --verbose ask for less and for more; give one of them");
  }
  qaxoi::qax_host::SetVerbosity(line.quiet     ? qaxoi::qax_host::Verbosity::kQuiet
                                : line.verbose ? qaxoi::qax_host::Verbosity::kVerbose
                                               : qaxoi::qax_host::Verbosity::kNormal);

  if ((line.given & qaxoi::qax_host::kSyntaxOption) != 0) {
    const qaxoi::Status parsed =
        qaxoi::rdf::ParseRdfSyntaxName(line.syntax, &invocation.session.syntax);
    if (!parsed.ok()) return qaxoi::qax_host::UsageError("--syntax: " + parsed.message());
    if (invocation.session.ontologyPath.empty()) {
      return qaxoi::qax_host::UsageError(
          "--syntax needs --ontology: it gives the vocabulary's syntax");
    }
  }

  if ((line.given & qaxoi::qax_host::kLangOption) != 0) {
    const qaxoi::Status parsed =
        qaxoi::qax_host::ParseLanguageList(line.languages, &invocation.session.languages);
    if (!parsed.ok()) return qaxoi::qax_host::UsageError("--lang: " + parsed.message());
  } else {
    invocation.session.languages = qaxoi::qax_host::EnvironmentLanguages(
        [](const char* name) -> const char* { return std::getenv(name); });
  }

  if (const int failed = ReadNetworkOptions(line, &invocation)) return failed;

  const Command* command = FindCommand(line.command.empty() ? "tour" : line.command);
  if (command == nullptr) {
    qaxoi::qax_host::NearestNames nearest(line.command);
    for (const Command& known : kCommands) nearest.Offer(known.name, known.name);
    return qaxoi::qax_host::UsageError("unknown command '" + line.command + "'" +
                                       nearest.DidYouMean());
  }
  if (line.help) {
    if (line.command.empty()) {
      PrintHelp();
    } else {
      PrintCommandHelp(*command);
    }
    return qaxoi::qax_host::FinishOutput(qaxoi::qax_host::kExitOk);
  }
  if (const int failed = CheckCommandLine(line, *command)) return failed;

  globalEngine->ShowDebugMessage.SetHandler([](const char* text) {
    std::fflush(stdout);
    std::fprintf(
        stderr, "qax-host: module: %s\n",
        qaxoi::qax_host::Escaped(text != nullptr ? text : "", qaxoi::qax_host::Layout::kKeep)
            .c_str());
  });
  const qaxoi::qax_host::Activity running("running '" + std::string(command->name) + "'");
  // Whatever the command printed is only shown once it reached standard
  // output: a write that failed there fails the command.
  return qaxoi::qax_host::FinishOutput(command->run(invocation));
}

}  // namespace

// Running out of memory anywhere in a command is a message and exit code 1,
// never an abort: the handler allocates nothing, and by the time it runs the
// unwinding has freed what the command held.
int main(int argc, char** argv) {
  qaxoi::qax_host::HoldStandardStreams();
  try {
    return RunCommandLine(argc, argv);
  } catch (const std::bad_alloc&) {
    std::fflush(stdout);
    std::fprintf(stderr, "qax-host: out of memory while %s\n",
                 qaxoi::qax_host::Activity::Current().c_str());
    return qaxoi::qax_host::kExitFailure;
  }
}
