#include "bench/TableReporter.h"

#include <cmath>
#include <string>

namespace qaxoi::bench {
namespace {

// A value with three significant digits (at least the units) and its unit.
std::string Scaled(double value, const char* unit) {
  char text[64];
  const char* format = value >= 100 ? "%.0f %s" : value >= 10 ? "%.1f %s" : "%.2f %s";
  std::snprintf(text, sizeof(text), format, value, unit);
  return text;
}

std::string Figure(const std::string& measure, double value) {
  if (measure == "throughput") return Scaled(value, "MB/s");
  if (measure == "rate") {
    return value >= 1e4 ? Scaled(value / 1e3, "k items/s") : Scaled(value, "items/s");
  }
  if (measure == "bytes") {
    if (value >= 1e6) return Scaled(value / 1e6, "MB");
    if (value >= 1e4) return Scaled(value / 1e3, "kB");
    return Scaled(value, "B");
  }
  if (value >= 1e6) return Scaled(value / 1e6, "ms");
  if (value >= 1e3) return Scaled(value / 1e3, "µs");
  return Scaled(value, "ns");
}

double Counter(const benchmark::BenchmarkReporter::Run& run, const char* name) {
  const auto found = run.counters.find(name);
  return found == run.counters.end() ? std::nan("") : found->second.value;
}

}  // namespace

TableReporter::TableReporter(std::FILE* out, bool header) : out_(out), header_(header) {}

bool TableReporter::ReportContext(const Context& /*context*/) {
  if (header_) {
    std::fprintf(out_, "| benchmark | size | module | baseline | ratio |\n");
    std::fprintf(out_, "|---|---:|---:|---:|---:|\n");
    std::fflush(out_);
  }
  return true;
}

void TableReporter::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    if (run.run_type != Run::RT_Iteration) continue;
    // The name as registered, without the settings that Google Benchmark
    // appends (such as "/iterations:1").
    const std::string& name = run.run_name.function_name;
    const std::size_t slash = name.rfind('/');
    const std::string benchmark = slash == std::string::npos ? name : name.substr(0, slash);
    const std::string size = slash == std::string::npos ? "" : name.substr(slash + 1);
    if (run.error_occurred) {
      anyFailed_ = true;
      std::fprintf(out_, "| %s | %s | error: %s | | |\n", benchmark.c_str(), size.c_str(),
                   run.error_message.c_str());
    } else {
      std::fprintf(out_, "| %s | %s | %s | %s | %.2f |\n", benchmark.c_str(), size.c_str(),
                   Figure(run.report_label, Counter(run, "module")).c_str(),
                   Figure(run.report_label, Counter(run, "baseline")).c_str(),
                   Counter(run, "ratio"));
    }
  }
  std::fflush(out_);
}

}  // namespace qaxoi::bench
