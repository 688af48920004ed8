// How qax-host writes what it shows: counts in words, JSON documents for
// scripts, progress of long operations, and the input files it reads.
#ifndef QAX_TOOLS_QAX_HOST_OUTPUT_H_
#define QAX_TOOLS_QAX_HOST_OUTPUT_H_

#include <chrono>
#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/qax/model/QAX.h"
#include "host/sdk/HighPoly.h"

namespace qaxoi::qax_host {

// JSON values keep their members in the order they were added, so that a
// document reads in the order the text output does.
using Json = nlohmann::ordered_json;

// "1 class", "0 classes", "12,000 channels": the count with thousands
// separated and the noun in the number that the count takes.
std::string Counted(std::size_t count, const char* one, const char* many);

// The text in a fixed-size record field, up to its zero byte or its end.
template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
  std::size_t length = 0;
  while (length < N && field[length] != '\0') ++length;
  return std::string(field, length);
}

// Writes `line` and a line end to standard output, without the blanks and
// tabs that end it.
void PrintLine(const std::string& line);

// Writes `document` to standard output, indented, with a final newline.
// Texts that are not valid UTF-8 are written with U+FFFD in place of the bad
// bytes rather than failing.
void PrintJson(const Json& document);

// An ontology item as JSON: {"class": "library:Local" (ItemClassName),
// "iri": class handle, "attributes": {name: value, or a nested item of this
// shape, ...}} with the attributes in the item's order. A value is typed by
// its attribute's kind in `model` (the class's own attributes and its
// parents'): a boolean as true or false, an integer or real number as a JSON
// number, anything else, and a text the kind cannot read, as a string. An
// attribute of several values is an array of them.
Json ItemJson(const QAX::Onto::OntologyItem& item, const QAX::Ontology::OntologyModel& model);

// The value a channel holds, as JSON: a number (float channels), a string or
// null (text channels), [x, y, z] (vectors), four rows of four numbers
// (matrices), {"class": handle} (item channels); null for other channels.
Json ValueJson(A3d_Channel& channel);

// Writes `bytes` as the whole contents of the output `path` through the
// shared safe writer (host/files/OutputFile.h: "-" is standard output, a
// FIFO is written as a stream, a file is replaced atomically or left as it
// was). Answers false after printing the reason. `toStandardOutput` tells
// whether the bytes went to standard output, where no confirmation may
// follow them.
bool WriteOutput(const std::string& path, const std::string& bytes, bool* toStandardOutput);

// The same for a document that `produce` writes to the stream it is handed
// (called at most once, not at all when the path is refused): written as it
// comes, through a buffer of a few tens of kilobytes, so that a large
// document is never held whole. A failed write turns the stream bad, so
// that the producer may stop.
bool WriteOutput(const std::string& path, const std::function<void(std::ostream&)>& produce,
                 bool* toStandardOutput);

// Called first thing: makes sure that descriptors 0, 1 and 2 are open, so
// that no file qax-host opens takes the place of a closed standard stream (a
// closed one is held by /dev/null opened read-only: reading it gives
// nothing, writing it fails as writing the closed descriptor would), and
// makes stdout a stream over descriptor 1 that remembers why its first
// failed write failed, for FinishOutput.
void HoldStandardStreams();

// Flushes standard output and answers `result`, or, when anything written to
// standard output failed (a full disk, /dev/full, a closed descriptor), prints
// the reason and answers kExitFailure (or `result` when that is a failure
// already).
int FinishOutput(int result);

// How an input path is named in messages: the path, or "(standard input)".
std::string InputName(const std::string& path);

// A status line on standard error for an operation that may take a while:
// shown only when standard error is a terminal and `worthShowing`, so that
// pipes, files, scripts and --quiet never see it. "qax-host: <what> ..." at once,
// " done (1.2 s)" when Done() is called or the object goes away.
class Progress {
 public:
  Progress(bool worthShowing, const std::string& what);
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  void Done();

 private:
  bool shown_;
  std::chrono::steady_clock::time_point start_;
};

// The sizes from which an operation shows progress.
inline constexpr std::size_t kProgressVocabularyBytes = 2u << 20;
inline constexpr std::size_t kProgressGroupChannels = 10000;

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_OUTPUT_H_
