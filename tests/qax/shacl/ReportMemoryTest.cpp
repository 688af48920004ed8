// What a validation report costs: results refer to the texts their report
// holds once, so a long sh:message or many results over a few terms cost a
// small constant per result, and the writers stream any report in bounded
// memory.
#include <cstddef>
#include <functional>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "host/qax/rdf/Rdf.h"
#include "host/qax/shacl/Graph.h"
#include "host/qax/shacl/ValidationReport.h"
#include "host/qax/shacl/Validator.h"
#include "tests/support/AllocationFailure.h"

namespace {

namespace shacl = qaxoi::shacl;

constexpr std::size_t kMiB = std::size_t{1} << 20;
// What a result may cost in the report, whatever its texts: its record (24
// bytes) and the report's share of the blocks that hold records.
constexpr std::size_t kMaxBytesPerResult = 32;
// What a writer may hold at once beyond the report: its block of output and
// one result's cut texts.
constexpr std::size_t kWriterCeiling = kMiB;
// What a validation holds besides its results: the maps of what it copied
// into the report, its buffers of value nodes.
constexpr std::size_t kRunBytes = kMiB;

const std::string kPrefixes =
    "@prefix ex: <http://e.org/> .\n"
    "@prefix sh: <http://www.w3.org/ns/shacl#> .\n";

// Counts what is written and the times `needle` occurs in it, keeping
// nothing. `needle` must not start with a repeat of its own start, as
// "focusNode" does not.
class Counting : public std::streambuf {
 public:
  explicit Counting(std::string needle) : needle_(std::move(needle)) {}
  std::size_t bytes = 0;
  std::size_t found = 0;

 protected:
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof())) Count(traits_type::to_char_type(c));
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    for (std::streamsize i = 0; i < n; ++i) Count(s[i]);
    return n;
  }

 private:
  void Count(char c) {
    ++bytes;
    matched_ = c == needle_[matched_] ? matched_ + 1 : (c == needle_[0] ? 1 : 0);
    if (matched_ == needle_.size()) {
      ++found;
      matched_ = 0;
    }
  }
  std::string needle_;
  std::size_t matched_ = 0;
};

struct Writer {
  const char* name;
  std::function<void(std::ostream&, const shacl::ValidationReport&)> write;
  const char* once;  // what each result writes exactly once
};

const std::vector<Writer>& Writers() {
  static const std::vector<Writer> writers = {
      {"text", [](std::ostream& out, const shacl::ValidationReport& r) { WriteReportText(out, r); },
       "\n"},
      {"Turtle",
       [](std::ostream& out, const shacl::ValidationReport& r) { WriteReportTurtle(out, r); },
       "sh:focusNode"},
      {"JSON", [](std::ostream& out, const shacl::ValidationReport& r) { WriteReportJson(out, r); },
       "\"focusNode\""},
  };
  return writers;
}

struct MemoryCase {
  const char* behaviour;
  std::string data;
  std::string shapes;
  std::size_t results;
  // The bytes of the texts the results share, held once.
  std::size_t sharedBytes;
  // Bytes that each result writes at least in Turtle and JSON.
  std::size_t leastBytesPerResult;
};

// `count` instances of ex:T, each without the ex:p that a shape with a
// message of `messageBytes` bytes asks for.
MemoryCase SharedMessage(std::size_t count, std::size_t messageBytes) {
  std::string message;
  // Quotes, newlines and a two-byte character: escaped or kept as the
  // writers do, never copied per result.
  const std::string piece = "caf\xC3\xA9 \\\"x\\\"\\n";
  while (message.size() < messageBytes) message += piece;
  std::string data = kPrefixes;
  for (std::size_t i = 0; i < count; ++i) data += "ex:n" + std::to_string(i) + " a ex:T .\n";
  return {"a 1 MB sh:message shared by every result",
          data,
          kPrefixes +
              "ex:S a sh:NodeShape ; sh:targetClass ex:T ;\n"
              "  sh:property [ sh:path ex:p ; sh:minCount 1 ; sh:message \"" +
              message + "\" ] .\n",
          count,
          messageBytes,
          messageBytes / 2};
}

// One focus node whose `count` values of ex:a are each not less than each
// of its `count` values of ex:b: count² results over 2 × count terms.
MemoryCase ManyPairs(std::size_t count) {
  std::string data = kPrefixes + "ex:f a ex:T";
  for (std::size_t i = 0; i < count; ++i) {
    data += " ;\n  ex:a " + std::to_string(count + i) + " ;\n  ex:b " + std::to_string(i);
  }
  data += " .\n";
  return {"sh:lessThan over every pair: many results, few terms",
          data,
          kPrefixes +
              "ex:S a sh:NodeShape ; sh:targetClass ex:T ;\n"
              "  sh:property [ sh:path ex:a ; sh:lessThan ex:b ] .\n",
          count * count,
          0,
          0};
}

bool Load(const std::string& turtle, shacl::Graph& graph) {
  shacl::GraphLoad loaded;
  return shacl::LoadGraphText(turtle, qaxoi::rdf::RdfSyntax::kTurtle, "case.ttl", "", graph,
                              &loaded)
      .ok();
}

TEST(ShaclReportMemory, ResultsShareTheirTextsAndReportsStreamInBoundedMemory) {
  constexpr std::size_t kSharedResults = 16;
  constexpr std::size_t kPairs = 300;  // 90,000 results
  const std::vector<MemoryCase> cases = {SharedMessage(kSharedResults, kMiB), ManyPairs(kPairs)};
  for (const MemoryCase& c : cases) {
    shacl::Graph data;
    shacl::Graph shapesGraph;
    ASSERT_TRUE(Load(c.data, data)) << c.behaviour;
    ASSERT_TRUE(Load(c.shapes, shapesGraph)) << c.behaviour;
    std::unique_ptr<shacl::Shapes> shapes;
    ASSERT_TRUE(shacl::Shapes::Read(shapesGraph, &shapes).ok()) << c.behaviour;

    // The report holds each text once: a message's bytes, then a constant
    // per result. The ceiling stops a copy per result before it swaps.
    const std::size_t texts = c.sharedBytes + kRunBytes;
    std::unique_ptr<shacl::ValidationReport> report;
    const std::size_t before = qaxoi::test::BytesInUse();
    qaxoi::test::ResetPeakBytes();
    {
      const qaxoi::test::ScopedHeapCeiling ceiling(texts + c.results * kMaxBytesPerResult * 2);
      report = std::make_unique<shacl::ValidationReport>(shacl::Validate(data, *shapes));
    }
    ASSERT_EQ(c.results, report->results.size()) << c.behaviour;
    const std::size_t peak = qaxoi::test::PeakBytesInUse() - before;
    EXPECT_LE(peak, texts + c.results * kMaxBytesPerResult)
        << c.behaviour << ": " << (peak - texts) / c.results << " bytes per result";

    for (const Writer& writer : Writers()) {
      Counting counted(writer.once);
      std::ostream out(&counted);
      {
        const qaxoi::test::ScopedHeapCeiling ceiling(kWriterCeiling);
        writer.write(out, *report);
      }
      EXPECT_TRUE(out.good()) << c.behaviour << ", " << writer.name;
      // The text's summary line ends in one more line end.
      const std::size_t extra = std::string(writer.once) == "\n" ? 1 : 0;
      EXPECT_EQ(c.results + extra, counted.found) << c.behaviour << ", " << writer.name;
      if (extra == 0) {
        EXPECT_GE(counted.bytes, c.results * c.leastBytesPerResult)
            << c.behaviour << ", " << writer.name;
      }
    }
  }
}

}  // namespace
