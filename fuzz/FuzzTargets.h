// The fuzz targets: each takes one input of any bytes, runs it through a part
// of the system and checks what must hold for every input. A target answers
// the empty text when all held, or says what broke. The libFuzzer programs
// (fuzz/*Fuzzer.cpp) abort on a broken property; the regression test
// (tests/fuzz) runs every committed input through the same functions, so an
// input that ever found a fault keeps being checked in the ordinary suite.
//
// Crashes, leaks and undefined behaviour are for the sanitizers to catch.
#ifndef QAX_FUZZ_FUZZTARGETS_H_
#define QAX_FUZZ_FUZZTARGETS_H_

#include <cstddef>
#include <cstdint>
#include <string>

namespace qaxoi::fuzz {

// The input as the records of one ontology item channel: loaded, saved,
// loaded into a second channel (which must give the same channel and the
// same records), then rebuilt against the sample ontology with children of
// each link's type.
std::string FuzzItemRecords(const std::uint8_t* data, std::size_t size);

// The input as a channel group file, loaded with the host's built-in types
// and the module's: a group that loads saves, and its save loads and saves
// to the same bytes; its ontology items rebuild.
std::string FuzzGroupFile(const std::uint8_t* data, std::size_t size);

// The input as the choices that generate a well-formed group: a model of
// classes (narrow, at the link limit, at the end of long chains), item
// channels linked in chains, fan-ins, shared children and cycles, text and
// value children; saved as a group file (checksums right), loaded, and every
// item channel built twice. No item any channel holds is deeper than
// kMaxNestingDepth or costs more than kMaxRebuildCost, and all of them
// together cost at most one kMaxRebuildCost per item channel. (Time and
// memory are bounded by the fuzzer's -timeout and -rss_limit_mb.)
std::string FuzzWellFormedGroup(const std::uint8_t* data, std::size_t size);

// The input as a vocabulary in Turtle and in N-Quads: loaded into a model
// whose classes all resolve and whose parent chains end; its derived shapes
// read back as SHACL; channels prepare and build items for its classes.
std::string FuzzVocabulary(const std::uint8_t* data, std::size_t size);

// The input as the choices that make a vocabulary, a group of one item
// channel with a value on every text and value link, saved against it, and
// the vocabulary's next release (attributes added, removed, moved, their
// range changed, renamed with a replacement or an equivalent, the class
// removed, statements reordered): loaded against the next release, no value
// is bound to another attribute than the one it was saved for or one the
// release names in its place; saved again and loaded against the first
// release, every value that did not migrate is back on its attribute.
std::string FuzzVocabularyRelease(const std::uint8_t* data, std::size_t size);

// The input as a function name, a condition and a detail (separated by zero
// bytes): every message form shows exactly the expected text, cut to the
// message buffer, and never writes outside it.
std::string FuzzDiagnostics(const std::uint8_t* data, std::size_t size);

// The input as one Turtle graph, read as a shapes graph and validated as the
// data graph: shapes that are not SHACL are refused with one line; a report
// conforms exactly when it has no results, every result names its component,
// severity and message, its Turtle reads back and its text holds no raw
// control byte but line ends.
std::string FuzzValidation(const std::uint8_t* data, std::size_t size);

// The input as the choices that generate shapes and data whose cost
// docs/limits.md bounds: cycles of ex:p with chords under `*`, `+` and
// inverse paths, long values under patterns that backtrack, numbers and
// texts under sh:lessThan and sh:disjoint, many results. The counted work
// stays within ValidationWorkBudget (plus the one charge that passes it),
// validation stops exactly when it passes it, a stopped report does not
// conform, and conforming data costs work linear in the data per shape.
std::string FuzzValidationCost(const std::uint8_t* data, std::size_t size);

// The input as a store's answer to a query, read as the SPARQL results JSON
// format: a refusal is one line naming the source and leaves the results as
// they were; an accepted answer has a term per variable in every row, and
// no rows for ASK. Nesting of any depth is refused before it costs stack.
std::string FuzzQueryResults(const std::uint8_t* data, std::size_t size);

}  // namespace qaxoi::fuzz

#endif  // QAX_FUZZ_FUZZTARGETS_H_
