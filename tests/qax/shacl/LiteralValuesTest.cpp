// Values compared as sh:minInclusive and its kin compare them: dates, times
// and years across the whole range of lexical forms that are read.
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/qax/shacl/ShaclCases.h"

namespace {

enum class Order { kLess, kEqual, kGreater, kNone };

// The components of sh:minExclusive, sh:maxExclusive and sh:minInclusive
// (all three against one bound) that a value of each order fails: a value
// that is not comparable fails all three.
std::set<std::string> Failing(Order order) {
  switch (order) {
    case Order::kLess:
      return {"MinExclusive", "MinInclusive"};
    case Order::kEqual:
      return {"MinExclusive", "MaxExclusive"};
    case Order::kGreater:
      return {"MaxExclusive"};
    case Order::kNone:
      break;
  }
  return {"MinExclusive", "MaxExclusive", "MinInclusive"};
}

TEST(LiteralValues, DatesTimesAndYearsCompareWithoutOverflow) {
  const struct {
    const char* type;
    const char* value;
    const char* bound;
    Order order;  // of the value against the bound
  } cases[] = {
      {"date", "999999999999-01-01", "2000-01-01", Order::kGreater},
      {"date", "-999999999999-01-01", "2000-01-01", Order::kLess},
      {"date", "-999999999999-01-01", "999999999999-12-31", Order::kLess},
      {"date", "999999999999-12-31", "999999999999-12-30", Order::kGreater},
      {"gYear", "-999999999999", "2000", Order::kLess},
      {"gYear", "999999999999", "2000", Order::kGreater},
      {"gYear", "999999999999", "999999999999", Order::kEqual},
      {"gYearMonth", "999999999999-02", "999999999999-01", Order::kGreater},
      {"dateTime", "999999999999-12-31T23:59:59Z", "999999999999-12-31T23:59:58Z", Order::kGreater},
      {"dateTime", "-999999999999-01-01T00:00:00+14:00", "-999999999999-01-01T00:00:00-14:00",
       Order::kLess},
      // 24:00:00 is the next day's start, across a year of twelve digits.
      {"dateTime", "999999999998-12-31T24:00:00Z", "999999999999-01-01T00:00:00Z", Order::kEqual},
      // A value without a zone is ordered against a zoned one only beyond 14 hours.
      {"dateTime", "999999999999-06-01T00:00:00", "999999999999-06-01T13:00:00Z", Order::kNone},
      {"dateTime", "999999999999-06-01T00:00:00", "999999999999-06-01T14:00:01Z", Order::kLess},
      {"time", "23:00:00-01:00", "00:30:00Z", Order::kGreater},
      // Thirteen digits are well-formed and not compared.
      {"gYear", "1000000000000", "2000", Order::kNone},
  };
  for (const auto& c : cases) {
    const std::string type = std::string("xsd:") + c.type;
    const std::string data = std::string("ex:x ex:v \"") + c.value + "\"^^" + type + " .\n";
    const std::string bound = std::string("\"") + c.bound + "\"^^" + type;
    const std::string shapes =
        "ex:S a sh:NodeShape ; sh:targetNode ex:x ; sh:property [ sh:path "
        "ex:v ; sh:minExclusive " +
        bound + " ; sh:maxExclusive " + bound + " ; sh:minInclusive " + bound + " ] .\n";
    std::set<std::string> failing;
    for (const std::string& line : qaxoi::test::ShaclCases::Validate(data, shapes)) {
      // focus|path|value|Component|Severity
      std::size_t at = 0;
      for (int field = 0; field < 3; ++field) at = line.find('|', at) + 1;
      failing.insert(line.substr(at, line.find('|', at) - at));
    }
    EXPECT_EQ(Failing(c.order), failing) << c.value << " against " << c.bound;
  }
}

}  // namespace
