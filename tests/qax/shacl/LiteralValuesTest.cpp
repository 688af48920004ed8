// Values compared as sh:minInclusive and its kin compare them: dates, times
// and years across the whole range of lexical forms that are read.
#include <map>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "tests/qax/shacl/ShaclCases.h"

namespace {

// The components, of sh:minExclusive, sh:maxExclusive and sh:minInclusive
// against one bound, that a value fails when it is less than the bound ("<"),
// equal ("="), greater (">") or not comparable ("?", all three).
const std::map<char, std::set<std::string>> kFailing = {
    {'<', {"MinExclusive", "MinInclusive"}},
    {'=', {"MinExclusive", "MaxExclusive"}},
    {'>', {"MaxExclusive"}},
    {'?', {"MinExclusive", "MaxExclusive", "MinInclusive"}}};

TEST(LiteralValues, DatesTimesAndYearsCompareWithoutOverflow) {
  const struct {
    const char* type;
    const char* value;
    const char* bound;
    char order;  // of the value against the bound, as kFailing names it
  } cases[] = {
      {"date", "999999999999-01-01", "2000-01-01", '>'},
      {"date", "-999999999999-01-01", "2000-01-01", '<'},
      {"date", "999999999999-12-31", "999999999999-12-30", '>'},
      {"gYear", "-999999999999", "2000", '<'},
      {"gYear", "999999999999", "2000", '>'},
      {"dateTime", "999999999999-12-31T23:59:59Z", "999999999999-12-31T23:59:58Z", '>'},
      {"dateTime", "-999999999999-01-01T00:00:00+14:00", "-999999999999-01-01T00:00:00-14:00", '<'},
      // 24:00:00 is the next day's start, across a year of twelve digits.
      {"dateTime", "999999999998-12-31T24:00:00Z", "999999999999-01-01T00:00:00Z", '='},
      // A value without a zone is ordered against a zoned one only beyond 14 hours.
      {"dateTime", "999999999999-06-01T00:00:00", "999999999999-06-01T13:00:00Z", '?'},
      {"dateTime", "999999999999-06-01T00:00:00", "999999999999-06-01T14:00:01Z", '<'},
      {"time", "23:00:00-01:00", "00:30:00Z", '>'},
      // Thirteen digits are well-formed and not compared.
      {"gYear", "1000000000000", "2000", '?'},
  };
  for (const auto& c : cases) {
    const std::string type = std::string("xsd:") + c.type;
    const std::string data = std::string("ex:x ex:v \"") + c.value + "\"^^" + type + " .\n";
    const std::string bound = std::string("\"") + c.bound + "\"^^" + type;
    const std::string shapes =
        "ex:S a sh:NodeShape ; sh:targetNode ex:x ; sh:property [ sh:path ex:v ; sh:minExclusive " +
        bound + " ; sh:maxExclusive " + bound + " ; sh:minInclusive " + bound + " ] .\n";
    std::set<std::string> failing;
    for (const std::string& line : qaxoi::test::ShaclCases::Validate(data, shapes)) {
      // focus|path|value|Component|Severity
      std::size_t at = 0;
      for (int field = 0; field < 3; ++field) at = line.find('|', at) + 1;
      failing.insert(line.substr(at, line.find('|', at) - at));
    }
    EXPECT_EQ(kFailing.at(c.order), failing) << c.value << " against " << c.bound;
  }
}

}  // namespace
