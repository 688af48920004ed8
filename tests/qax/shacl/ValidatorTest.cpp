// SHACL Core validation, one table per family of constraint components plus
// targets and paths. Each expected line was worked out by hand from the
// definitions of the W3C SHACL Recommendation (format in ShaclCases.h).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "host/qax/rdf/Rdf.h"
#include "host/qax/shacl/Graph.h"
#include "host/qax/shacl/Validator.h"
#include "tests/qax/shacl/ShaclCases.h"

namespace {

using qaxoi::rdf::RdfSyntax;
using qaxoi::shacl::Graph;
using qaxoi::shacl::Shapes;
using qaxoi::test::ShaclCases::RunTable;

TEST(ValueType, ClassDatatypeAndNodeKindFailTheValuesTheyExclude) {
  RunTable({
      {"sh:class follows rdfs:subClassOf in the data; a literal is no instance",
       "ex:a ex:p ex:x, ex:y, \"lit\" . ex:x a ex:Sub . ex:Sub rdfs:subClassOf ex:Super . "
       "ex:y a ex:Other .",
       "[ sh:path ex:p ; sh:class ex:Super ] .",
       {"ex:a|ex:p|\"lit\"|Class|Violation", "ex:a|ex:p|ex:y|Class|Violation"}},
      {"sh:datatype fails ill-formed lexical forms and other datatypes",
       "ex:a ex:n \"abc\"^^xsd:integer, 12, \"12\" ; "
       "ex:d \"2020-13-01\"^^xsd:date, \"2020-02-29\"^^xsd:date, \"2021-02-29\"^^xsd:date .",
       "[ sh:path ex:n ; sh:datatype xsd:integer ], [ sh:path ex:d ; sh:datatype xsd:date ] .",
       {"ex:a|ex:n|\"abc\"^^xsd:integer|Datatype|Violation", "ex:a|ex:n|\"12\"|Datatype|Violation",
        "ex:a|ex:d|\"2020-13-01\"^^xsd:date|Datatype|Violation",
        "ex:a|ex:d|\"2021-02-29\"^^xsd:date|Datatype|Violation"}},
      {"derived integer types keep their ranges",
       "ex:a ex:b \"127\"^^xsd:byte, \"128\"^^xsd:byte ; ex:u \"-5\"^^xsd:unsignedInt, "
       "\"0\"^^xsd:unsignedInt ; ex:t \"10:00:00\"^^xsd:time, \"24:30:00\"^^xsd:time .",
       "[ sh:path ex:b ; sh:datatype xsd:byte ], "
       "[ sh:path ex:u ; sh:datatype xsd:unsignedInt ], [ sh:path ex:t ; sh:datatype xsd:time ] .",
       {"ex:a|ex:b|\"128\"^^xsd:byte|Datatype|Violation",
        "ex:a|ex:u|\"-5\"^^xsd:unsignedInt|Datatype|Violation",
        "ex:a|ex:t|\"24:30:00\"^^xsd:time|Datatype|Violation"}},
      {"rdf:langString needs a language tag",
       "ex:a ex:l \"x\"@en, \"y\" .",
       "[ sh:path ex:l ; sh:datatype rdf:langString ] .",
       {"ex:a|ex:l|\"y\"|Datatype|Violation"}},
      {"sh:nodeKind sh:IRI fails blank nodes and literals",
       "ex:a ex:k ex:i, [ ex:q 1 ], \"l\" .",
       "[ sh:path ex:k ; sh:nodeKind sh:IRI ] .",
       {"ex:a|ex:k|\"l\"|NodeKind|Violation", "ex:a|ex:k|_|NodeKind|Violation"}},
      {"sh:nodeKind sh:BlankNodeOrLiteral fails IRIs",
       "ex:a ex:k ex:i, [ ex:q 1 ], \"l\" .",
       "[ sh:path ex:k ; sh:nodeKind sh:BlankNodeOrLiteral ] .",
       {"ex:a|ex:k|ex:i|NodeKind|Violation"}},
  });
}

TEST(Cardinality, CountsDistinctValueNodes) {
  RunTable({
      {"sh:minCount reports once, without a value",
       "ex:a ex:p 1 .",
       "[ sh:path ex:p ; sh:minCount 2 ] .",
       {"ex:a|ex:p|-|MinCount|Violation"}},
      {"sh:maxCount",
       "ex:a ex:p 1, 2 .",
       "[ sh:path ex:p ; sh:maxCount 1 ] .",
       {"ex:a|ex:p|-|MaxCount|Violation"}},
      {"a node reached twice by a path is one value",
       "ex:a ex:p ex:b, ex:c . ex:b ex:q ex:z . ex:c ex:q ex:z .",
       "[ sh:path ( ex:p ex:q ) ; sh:maxCount 1 ; sh:minCount 1 ] .",
       {}},
  });
}

TEST(ValueRange, ComparesLikeSparqlAndFailsIncomparableValues) {
  RunTable({
      {"numbers compare across numeric types; strings and ill-formed numbers fail",
       "ex:a ex:n 5, 4.9, 5.0e0, \"abc\", \"x\"^^xsd:integer .",
       "[ sh:path ex:n ; sh:minInclusive 5 ] .",
       {"ex:a|ex:n|\"4.9\"^^xsd:decimal|MinInclusive|Violation",
        "ex:a|ex:n|\"abc\"|MinInclusive|Violation",
        "ex:a|ex:n|\"x\"^^xsd:integer|MinInclusive|Violation"}},
      {"integers beyond 64 bits compare exactly; doubles beyond range are infinite",
       "ex:a ex:n 18446744073709551616, 18446744073709551615, 1e400, -1e400 .",
       "[ sh:path ex:n ; sh:minExclusive 18446744073709551615 ] .",
       {"ex:a|ex:n|\"18446744073709551615\"^^xsd:integer|MinExclusive|Violation",
        "ex:a|ex:n|\"-1e400\"^^xsd:double|MinExclusive|Violation"}},
      {"dates compare with dates only",
       "ex:a ex:d \"2019-12-31\"^^xsd:date, \"2020-01-01\"^^xsd:date, "
       "\"2019-06-01T00:00:00\"^^xsd:dateTime .",
       "[ sh:path ex:d ; sh:maxExclusive \"2020-01-01\"^^xsd:date ] .",
       {"ex:a|ex:d|\"2020-01-01\"^^xsd:date|MaxExclusive|Violation",
        "ex:a|ex:d|\"2019-06-01T00:00:00\"^^xsd:dateTime|MaxExclusive|Violation"}},
      {"a date-time without zone is ordered against a zoned one only beyond 14 hours",
       "ex:a ex:t \"2020-01-01T12:00:00\"^^xsd:dateTime, \"2020-01-02T15:00:00\"^^xsd:dateTime, "
       "\"2020-01-01T01:00:00+02:00\"^^xsd:dateTime .",
       "[ sh:path ex:t ; sh:minExclusive \"2020-01-01T00:00:00Z\"^^xsd:dateTime ] .",
       {"ex:a|ex:t|\"2020-01-01T12:00:00\"^^xsd:dateTime|MinExclusive|Violation",
        "ex:a|ex:t|\"2020-01-01T01:00:00+02:00\"^^xsd:dateTime|MinExclusive|Violation"}},
      {"strings compare with plain strings, not with tagged ones",
       "ex:a ex:s \"apple\", \"zebra\", \"a\"@en .",
       "[ sh:path ex:s ; sh:maxInclusive \"m\" ] .",
       {"ex:a|ex:s|\"zebra\"|MaxInclusive|Violation", "ex:a|ex:s|\"a\"@en|MaxInclusive|Violation"}},
  });
}

TEST(String, LengthsPatternsAndLanguages) {
  RunTable({
      {"lengths count characters; a blank node fails both",
       "ex:a ex:s \"ab\", \"\xC3\xA4\xC3\xB6\xC3\xBC\", \"abcde\", [ ex:q 1 ] .",
       "[ sh:path ex:s ; sh:minLength 3 ; sh:maxLength 4 ] .",
       {"ex:a|ex:s|\"ab\"|MinLength|Violation", "ex:a|ex:s|_|MinLength|Violation",
        "ex:a|ex:s|\"abcde\"|MaxLength|Violation", "ex:a|ex:s|_|MaxLength|Violation"}},
      {"an IRI's length is its text's",
       "ex:a ex:s ex:abc .",
       "[ sh:path ex:s ; sh:maxLength 16 ] .",
       {}},
      {"sh:pattern with flag i searches anywhere; blank nodes fail",
       "ex:a ex:s \"ABc\", \"xab\", \"xyz\", [ ex:q 1 ] .",
       "[ sh:path ex:s ; sh:pattern \"ab\" ; sh:flags \"i\" ] .",
       {"ex:a|ex:s|\"xyz\"|Pattern|Violation", "ex:a|ex:s|_|Pattern|Violation"}},
      {"flag q takes the pattern literally",
       "ex:a ex:s \"a.c\", \"abc\" .",
       "[ sh:path ex:s ; sh:pattern \"a.c\" ; sh:flags \"q\" ] .",
       {"ex:a|ex:s|\"abc\"|Pattern|Violation"}},
      {"sh:languageIn matches ranges by prefix, regardless of case",
       "ex:a ex:l \"a\"@en-US, \"b\"@EN, \"c\"@de, \"d\", \"e\"@fr, \"f\"@english .",
       "[ sh:path ex:l ; sh:languageIn ( \"en\" \"fr\" ) ] .",
       {"ex:a|ex:l|\"c\"@de|LanguageIn|Violation", "ex:a|ex:l|\"d\"|LanguageIn|Violation",
        "ex:a|ex:l|\"f\"@english|LanguageIn|Violation"}},
      {"sh:uniqueLang reports each repeated tag once, regardless of case",
       "ex:a ex:l \"a\"@en, \"b\"@EN, \"c\"@fr, \"d\"@fr, \"g\"@fr, \"e\", \"f\", \"h\"@de .",
       "[ sh:path ex:l ; sh:uniqueLang true ] .",
       {"ex:a|ex:l|-|UniqueLang|Violation", "ex:a|ex:l|-|UniqueLang|Violation"}},
  });
}

TEST(PropertyPair, ComparesValueNodesWithTheOtherPropertysValues) {
  RunTable({
      {"sh:equals reports values missing on either side",
       "ex:a ex:p 1, 2 ; ex:q 2, 3 .",
       "[ sh:path ex:p ; sh:equals ex:q ] .",
       {"ex:a|ex:p|\"1\"^^xsd:integer|Equals|Violation",
        "ex:a|ex:p|\"3\"^^xsd:integer|Equals|Violation"}},
      {"a node shape's sh:equals compares the focus node itself",
       "ex:a ex:self ex:a . ex:b ex:self ex:c .",
       "ex:S sh:targetNode ex:a, ex:b ; sh:equals ex:self .",
       {"ex:b|-|ex:b|Equals|Violation", "ex:b|-|ex:c|Equals|Violation"}},
      {"sh:disjoint",
       "ex:a ex:p 1, 2 ; ex:q 2 .",
       "[ sh:path ex:p ; sh:disjoint ex:q ] .",
       {"ex:a|ex:p|\"2\"^^xsd:integer|Disjoint|Violation"}},
      {"sh:lessThan reports each pair that is not less, incomparable ones too",
       "ex:a ex:start 5, \"x\" ; ex:end 7, 3 .",
       "[ sh:path ex:start ; sh:lessThan ex:end ] .",
       {"ex:a|ex:start|\"5\"^^xsd:integer|LessThan|Violation",
        "ex:a|ex:start|\"x\"|LessThan|Violation", "ex:a|ex:start|\"x\"|LessThan|Violation"}},
      {"sh:lessThanOrEquals accepts equal values",
       "ex:a ex:start 7, \"2020-01-01\"^^xsd:date ; ex:end 7 . "
       "ex:b ex:start \"2020-01-01\"^^xsd:date ; ex:end \"2019-01-01\"^^xsd:date .",
       "ex:S sh:targetNode ex:a, ex:b ; sh:property [ sh:path ex:start ; "
       "sh:lessThanOrEquals ex:end ] .",
       {"ex:a|ex:start|\"2020-01-01\"^^xsd:date|LessThanOrEquals|Violation",
        "ex:b|ex:start|\"2020-01-01\"^^xsd:date|LessThanOrEquals|Violation"}},
  });
}

TEST(Logical, NotAndOrXoneCountConformingShapes) {
  RunTable({
      {"sh:not fails nodes that conform",
       "ex:a a ex:C . ex:b a ex:D .",
       "ex:S sh:targetNode ex:a, ex:b ; sh:not [ sh:class ex:C ] .",
       {"ex:a|-|ex:a|Not|Violation"}},
      {"sh:and fails a node missing one member",
       "ex:a ex:p 1 ; ex:q 1 . ex:b ex:p 1 .",
       "ex:S sh:targetNode ex:a, ex:b ; sh:and ( [ sh:property [ sh:path ex:p ; sh:minCount 1 ] ] "
       "[ sh:property [ sh:path ex:q ; sh:minCount 1 ] ] ) .",
       {"ex:b|-|ex:b|And|Violation"}},
      {"sh:or of datatypes",
       "ex:a ex:v 1, \"s\", true .",
       "[ sh:path ex:v ; sh:or ( [ sh:datatype xsd:integer ] [ sh:datatype xsd:string ] ) ] .",
       {"ex:a|ex:v|\"true\"^^xsd:boolean|Or|Violation"}},
      {"sh:xone fails nodes matching none or two",
       "ex:a ex:v 5, -1, \"x\", 2.5 .",
       "[ sh:path ex:v ; sh:xone ( [ sh:datatype xsd:integer ] [ sh:minInclusive 0 ] ) ] .",
       {"ex:a|ex:v|\"5\"^^xsd:integer|Xone|Violation", "ex:a|ex:v|\"x\"|Xone|Violation"}},
      {"a shape named twice is checked the same both times",
       "ex:a ex:v 1 .",
       "[ sh:path ex:v ; sh:and ( ex:T ex:T ) ; "
       "sh:not ex:T ] . ex:T sh:node ex:U . ex:U sh:datatype xsd:integer .",
       {"ex:a|ex:v|\"1\"^^xsd:integer|Not|Violation"}},
  });
}

TEST(ShapeBased, NodePropertyAndQualifiedShapes) {
  RunTable({
      {"sh:node reports the value node that does not conform",
       "ex:a ex:addr ex:x1, ex:x2 . ex:x1 ex:city \"c\" .",
       "[ sh:path ex:addr ; sh:node ex:Addr ] . "
       "ex:Addr sh:property [ sh:path ex:city ; sh:minCount 1 ] .",
       {"ex:a|ex:addr|ex:x2|Node|Violation"}},
      {"a nested property shape reports its own results at the value node",
       "ex:a ex:addr ex:x1, ex:x2 . ex:x1 ex:city \"c\" .",
       "[ sh:path ex:addr ; sh:property [ sh:path ex:city ; sh:minCount 1 ] ] .",
       {"ex:x2|ex:city|-|MinCount|Violation"}},
      {"qualifiedValueShapesDisjoint leaves out values that conform to a sibling",
       "ex:h ex:digit ex:d1, ex:d2, ex:d3, ex:d4, ex:d5 . ex:d1 a ex:Thumb . "
       "ex:d2 a ex:Finger, ex:Thumb . ex:d3 a ex:Finger . ex:d4 a ex:Finger . ex:d5 a ex:Finger .",
       "ex:Hand sh:targetNode ex:h ; sh:property [ sh:path ex:digit ; "
       "sh:qualifiedValueShape [ sh:class ex:Thumb ] ; sh:qualifiedMinCount 1 ; "
       "sh:qualifiedMaxCount 1 ; sh:qualifiedValueShapesDisjoint true ], [ sh:path ex:digit ; "
       "sh:qualifiedValueShape [ sh:class ex:Finger ] ; sh:qualifiedMinCount 4 ; "
       "sh:qualifiedMaxCount 4 ; sh:qualifiedValueShapesDisjoint true ] .",
       {"ex:h|ex:digit|-|QualifiedMinCount|Violation"}},
      {"without disjointness every conforming value counts",
       "ex:h ex:digit ex:d1, ex:d2, ex:d3, ex:d4, ex:d5 . ex:d1 a ex:Thumb . "
       "ex:d2 a ex:Finger, ex:Thumb . ex:d3 a ex:Finger . ex:d4 a ex:Finger . ex:d5 a ex:Finger .",
       "ex:Hand sh:targetNode ex:h ; sh:property [ sh:path ex:digit ; "
       "sh:qualifiedValueShape [ sh:class ex:Thumb ] ; sh:qualifiedMinCount 1 ; "
       "sh:qualifiedMaxCount 1 ], [ sh:path ex:digit ; "
       "sh:qualifiedValueShape [ sh:class ex:Finger ] ; sh:qualifiedMinCount 4 ; "
       "sh:qualifiedMaxCount 4 ] .",
       {"ex:h|ex:digit|-|QualifiedMaxCount|Violation"}},
  });
}

// A shapes graph where each of `levels` levels has two property shapes that
// both name the next level's two: 2^levels ways down to the last level,
// whose shapes ask for `lastCount` values. ex:Q0 names the first level.
std::string SharedLevels(int levels, int lastCount) {
  std::string shapes = "ex:Q0 sh:property ex:P0a, ex:P0b .\n";
  for (int i = 0; i <= levels; ++i) {
    const std::string next = std::to_string(i + 1);
    for (const char* side : {"a", "b"}) {
      shapes += "ex:P" + std::to_string(i) + side + " sh:path ex:self ; ";
      shapes += i < levels ? "sh:property ex:P" + next + "a, ex:P" + next + "b .\n"
                           : "sh:minCount " + std::to_string(lastCount) + " .\n";
    }
  }
  return shapes;
}

TEST(ShapeBased, SharedShapesAreCheckedOncePerNode) {
  // Each last-level shape reports its result once, not once per way down.
  EXPECT_EQ(
      qaxoi::test::ShaclCases::Validate(
          "ex:a ex:self ex:a .",
          "ex:S sh:targetNode ex:a ; sh:node ex:Q0 . ex:R sh:targetNode "
          "ex:a ; sh:property ex:P0a, ex:P0b ." +
              SharedLevels(30, 2)),
      (std::vector<std::string>{"ex:a|-|ex:a|Node|Violation", "ex:a|ex:self|-|MinCount|Violation",
                                "ex:a|ex:self|-|MinCount|Violation"}));
  EXPECT_EQ(
      qaxoi::test::ShaclCases::Validate(
          "ex:a ex:self ex:a .", "ex:S sh:targetNode ex:a ; sh:not ex:Q0 ." + SharedLevels(30, 1)),
      std::vector<std::string>{"ex:a|-|ex:a|Not|Violation"});
}

TEST(Other, ClosedHasValueAndIn) {
  RunTable({
      {"sh:closed allows its property shapes' predicates and the ignored ones",
       "ex:a a ex:C ; ex:p 1 ; ex:q 2 .",
       "ex:S sh:targetNode ex:a ; sh:closed true ; sh:ignoredProperties ( rdf:type ) ; "
       "sh:property [ sh:path ex:p ] .",
       {"ex:a|ex:q|\"2\"^^xsd:integer|Closed|Violation"}},
      {"without sh:ignoredProperties rdf:type is reported too",
       "ex:a a ex:C ; ex:p 1 .",
       "ex:S sh:targetNode ex:a ; sh:closed true ; sh:property [ sh:path ex:p ] .",
       {"ex:a|rdf:type|ex:C|Closed|Violation"}},
      {"sh:hasValue reports once, without a value",
       "ex:a ex:p ex:y ; ex:l \"v\" .",
       "[ sh:path ex:p ; sh:hasValue ex:x ], [ sh:path ex:l ; sh:hasValue \"v\" ] .",
       {"ex:a|ex:p|-|HasValue|Violation"}},
      {"sh:in compares terms, not values",
       "ex:a ex:p ex:x, \"1\", 2, \"2\", ex:y, 2.0 .",
       "[ sh:path ex:p ; sh:in ( ex:x \"1\" 2 ) ] .",
       {"ex:a|ex:p|\"2\"|In|Violation", "ex:a|ex:p|ex:y|In|Violation",
        "ex:a|ex:p|\"2.0\"^^xsd:decimal|In|Violation"}},
  });
}

TEST(Other, ResultsCarryTheShapesSeverityAndMessages) {
  RunTable(
      {
          {"a default message per component",
           "ex:a ex:p 1 .",
           "[ sh:path ex:p ; sh:minCount 2 ; sh:datatype xsd:string ] .",
           {"ex:a|ex:p|-|MinCount|Violation|fewer than 2 values",
            "ex:a|ex:p|\"1\"^^xsd:integer|Datatype|Violation|not of datatype xsd:string"}},
          {"sh:severity and every sh:message with its language",
           "ex:a ex:p 1 .",
           "[ sh:path ex:p ; sh:minCount 2 ; "
           "sh:severity sh:Warning ; sh:message \"too few\"@en, \"zu wenig\"@de ] .",
           {"ex:a|ex:p|-|MinCount|Warning|too few@en;zu wenig@de"}},
          {"the example of docs/validation.md",
           "ex:alice a ex:Person ; ex:born \"10/12/1815\"^^xsd:date ; ex:nick \"Al\"@en, "
           "\"Ally\"@en .",
           "ex:PersonShape sh:targetClass ex:Person ; sh:property [ sh:path ex:name ; "
           "sh:minCount 1 ], [ sh:path ex:born ; sh:datatype xsd:date ], [ sh:path ex:nick ; "
           "sh:uniqueLang true ; sh:severity sh:Warning ] .",
           {"ex:alice|ex:name|-|MinCount|Violation|fewer than 1 values",
            "ex:alice|ex:born|\"10/12/1815\"^^xsd:date|Datatype|Violation|not a well-formed "
            "xsd:date",
            "ex:alice|ex:nick|-|UniqueLang|Warning|language tag \"en\" used more than once"}},
          {"a pattern that backtracks without end fails the value at PCRE2's limits",
           "ex:a ex:s \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab\" .",
           "[ sh:path ex:s ; sh:pattern \"(a+)+$\" ] .",
           {"ex:a|ex:s|\"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab\"|Pattern|Violation|could not be "
            "matched within the matching limits: pattern \"(a+)+$\""}},
          {"a deactivated shape is not checked, nor are the shapes naming it conformance "
           "broken by it",
           "ex:a ex:p 1 .",
           "ex:S sh:targetNode ex:a ; sh:deactivated true ; sh:property [ sh:path ex:p ; "
           "sh:minCount 2 ] . ex:T sh:targetNode ex:a ; sh:node ex:U . "
           "ex:U sh:deactivated true ; sh:class ex:Nothing .",
           {}},
      },
      true);
}

TEST(Targets, FocusNodesOfEveryTargetKind) {
  RunTable({
      {"sh:targetClass follows rdfs:subClassOf chains",
       "ex:a a ex:C3 . ex:C3 rdfs:subClassOf ex:C2 . ex:C2 rdfs:subClassOf ex:C1 . "
       "ex:b a ex:Other .",
       "ex:S sh:targetClass ex:C1 ; sh:property [ sh:path ex:p ; sh:minCount 1 ] .",
       {"ex:a|ex:p|-|MinCount|Violation"}},
      {"a shape that is a class targets its instances",
       "ex:a a ex:C2 . ex:C2 rdfs:subClassOf ex:C1 . ex:b a ex:Other .",
       "ex:C1 a rdfs:Class, sh:NodeShape ; sh:property [ sh:path ex:p ; sh:minCount 1 ] .",
       {"ex:a|ex:p|-|MinCount|Violation"}},
      {"sh:targetSubjectsOf and sh:targetObjectsOf",
       "ex:a ex:p \"lit\" . ex:b ex:q ex:a .",
       "ex:S sh:targetSubjectsOf ex:p ; sh:targetObjectsOf ex:p ; sh:nodeKind sh:BlankNode .",
       {"ex:a|-|ex:a|NodeKind|Violation", "\"lit\"|-|\"lit\"|NodeKind|Violation"}},
      {"a sh:targetNode the data does not hold is still a focus node",
       "ex:a ex:p 1 .",
       "ex:S sh:targetNode ex:ghost, \"v\" ; sh:property [ sh:path ex:p ; sh:minCount 1 ] .",
       {"ex:ghost|ex:p|-|MinCount|Violation", "\"v\"|ex:p|-|MinCount|Violation"}},
      {"a shape without targets checks nothing by itself",
       "ex:a ex:p 1 .",
       "ex:S sh:property [ sh:path ex:p ; sh:minCount 3 ] .",
       {}},
  });
}

TEST(Targets, ShapesInTheDataGraphNameItsOwnBlankNodes) {
  // One graph as both: a blank node the shapes name is the data's node.
  Graph graph;
  qaxoi::shacl::GraphLoad loaded;
  ASSERT_EQ(LoadGraphText("@prefix ex: <http://e.org/> . "
                          "@prefix sh: <http://www.w3.org/ns/shacl#> . _:x ex:p 1 . _:y ex:p 2 . "
                          "ex:S sh:targetNode _:x, _:y ; sh:property [ sh:path ex:p ; "
                          "sh:hasValue 1 ] . ex:T sh:targetNode ex:a ; sh:property "
                          "[ sh:path ex:q ; sh:in ( _:x ) ] . ex:a ex:q _:x, _:y .",
                          RdfSyntax::kTurtle, "both.ttl", "", graph, &loaded)
                .message(),
            "");
  std::unique_ptr<Shapes> shapes;
  const qaxoi::Status read = Shapes::Read(graph, &shapes);
  ASSERT_TRUE(read.ok()) << read.message();
  EXPECT_EQ(qaxoi::test::ShaclCases::Lines(Validate(graph, *shapes)),
            (std::vector<std::string>{"_|ex:p|-|HasValue|Violation", "ex:a|ex:q|_|In|Violation"}));
}

TEST(Paths, EveryPathFormReachesItsValueNodes) {
  // sh:in () fails every value node, so the results list them.
  RunTable({
      {"inverse path",
       "ex:c1 ex:parent ex:p . ex:c2 ex:parent ex:p . ex:p ex:parent ex:g .",
       "ex:S sh:targetNode ex:p ; sh:property [ sh:path [ sh:inversePath ex:parent ] ; sh:in () ] "
       ".",
       {"ex:p|^ex:parent|ex:c1|In|Violation", "ex:p|^ex:parent|ex:c2|In|Violation"}},
      {"sequence and alternative paths",
       "ex:a ex:p ex:b ; ex:q ex:c . ex:b ex:q ex:d . ex:c ex:q ex:e .",
       "[ sh:path ( ex:p ex:q ) ; sh:in () ], "
       "[ sh:path [ sh:alternativePath ( ex:p ex:q ) ] ; sh:in () ] .",
       {"ex:a|(ex:p/ex:q)|ex:d|In|Violation", "ex:a|alt(ex:p,ex:q)|ex:b|In|Violation",
        "ex:a|alt(ex:p,ex:q)|ex:c|In|Violation"}},
      {"zero-or-more and one-or-more reach the focus node through a cycle",
       "ex:a ex:next ex:b . ex:b ex:next ex:a . ex:c ex:next ex:d .",
       "ex:S sh:targetNode ex:a, ex:c ; sh:property [ sh:path [ sh:oneOrMorePath ex:next ] ; "
       "sh:in () ], [ sh:path [ sh:zeroOrOnePath ex:next ] ; sh:in ( ex:a ex:b ex:d ) ] .",
       {"ex:a|ex:next+|ex:a|In|Violation", "ex:a|ex:next+|ex:b|In|Violation",
        "ex:c|ex:next+|ex:d|In|Violation", "ex:c|ex:next?|ex:c|In|Violation"}},
      {"zero-or-more includes the focus node",
       "ex:a ex:next ex:b .",
       "[ sh:path [ sh:zeroOrMorePath ex:next ] ; sh:in () ] .",
       {"ex:a|ex:next*|ex:a|In|Violation", "ex:a|ex:next*|ex:b|In|Violation"}},
      {"inverse of a sequence walks it backwards",
       "ex:x ex:p ex:y . ex:y ex:q ex:z . ex:w ex:p ex:v .",
       "ex:S sh:targetNode ex:z ; sh:property [ sh:path [ sh:inversePath ( ex:p ex:q ) ] ; "
       "sh:in () ] .",
       {"ex:z|^(ex:p/ex:q)|ex:x|In|Violation"}},
      {"nested paths",
       "ex:a ex:p ex:b . ex:b ex:q ex:c . ex:c ex:q ex:d .",
       "[ sh:path ( ex:p [ sh:zeroOrMorePath ex:q ] ) ; sh:in ( ex:c ) ] .",
       {"ex:a|(ex:p/ex:q*)|ex:b|In|Violation", "ex:a|(ex:p/ex:q*)|ex:d|In|Violation"}},
  });
}

}  // namespace
