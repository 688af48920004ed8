// The model is a function of the RDF graph: the same graph gives the same
// model (ModelDump, warnings included) whatever the order of its
// statements, the labels of its blank nodes, its prefixes and its syntax.
// Graphs: generated vocabularies that hold what orders used to decide, and
// the test package's vocabularies (scripts/fetch-vocabularies.sh).
#include <dirent.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/ModelDump.h"
#include "tests/support/RdfVariants.h"
#include "tests/support/ServiceNames.h"

namespace qaxoi::test {
namespace {

using Prefixes = std::vector<std::pair<std::string, std::string>>;

// The namespaces of the generated vocabularies: two that would take one
// name ("zoo") and one named by a version's parent ("park").
constexpr const char* kNamespaces[] = {"http://gen.test/zoo#", "http://gen.test/park/v1/",
                                       "http://other.test/zoo/"};
constexpr std::size_t kNamespaceCount = sizeof(kNamespaces) / sizeof(kNamespaces[0]);
constexpr const char* kXsd = "http://www.w3.org/2001/XMLSchema#";

// Prefixes that mislead: customary names on other namespaces, and the
// vocabulary's own namespaces under names that are not theirs.
const Prefixes& DecoyPrefixes() {
  static const Prefixes prefixes = {
      {"", kNamespaces[2]},
      {"zoo", kNamespaces[1]},
      {"foaf", kNamespaces[0]},
      {"rdfs", "http://www.w3.org/2000/01/rdf-schema#"},
      {"owl", "http://www.w3.org/2002/07/owl#"},
      {"schema", kXsd},
  };
  return prefixes;
}

// A vocabulary drawn from `seed`, as Turtle: classes in three namespaces
// with several superclasses (loops among them), docs of every predicate in
// several languages, given before and after the types; properties with
// several domains and ranges, unions, enumerations; restrictions of every
// kind, several on one property; replacements and equivalents.
std::string GeneratedVocabulary(unsigned seed) {
  std::mt19937 random(seed);
  const auto pick = [&random](std::size_t count) {
    return static_cast<std::size_t>(random() % count);
  };
  constexpr std::size_t kClasses = 24;
  constexpr std::size_t kProperties = 16;
  const auto cls = [](std::size_t i) {
    return "<" + std::string(kNamespaces[i % kNamespaceCount]) + "C" + std::to_string(i) + ">";
  };
  const auto property = [](std::size_t i) {
    return "<" + std::string(kNamespaces[i % 2]) + "p" + std::to_string(i) + ">";
  };
  static const char* const kDatatypes[] = {"string",  "integer",   "boolean", "date",
                                           "decimal", "hexBinary", "int"};
  const auto datatype = [&] {
    return "<" + std::string(kXsd) + kDatatypes[pick(sizeof(kDatatypes) / sizeof(kDatatypes[0]))] +
           ">";
  };
  static const char* const kLanguages[] = {"", "en", "en-GB", "EN-us", "de", "fr"};
  static const char* const kDocs[] = {"rdfs:comment", "skos:definition", "dcterms:description"};
  std::string out =
      "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
      "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
      "@prefix owl: <http://www.w3.org/2002/07/owl#> .\n"
      "@prefix skos: <http://www.w3.org/2004/02/skos/core#> .\n"
      "@prefix dcterms: <http://purl.org/dc/terms/> .\n"
      "@prefix schema: <http://schema.org/> .\n"
      "@prefix vann: <http://purl.org/vocab/vann/> .\n"
      "<http://gen.test/park> a owl:Ontology ; vann:preferredNamespacePrefix \"park\" .\n";
  for (std::size_t i = 0; i < kClasses; ++i) {
    const std::string c = cls(i);
    for (std::size_t d = pick(4); d > 0; --d) {
      const char* language = kLanguages[pick(sizeof(kLanguages) / sizeof(kLanguages[0]))];
      out += c + " " + kDocs[pick(3)] + " \"doc " + std::to_string(pick(5)) + "\"" +
             (*language != '\0' ? std::string("@") + language : "") + " .\n";
    }
    out += c + " a " + (i % 2 == 0 ? "owl:Class" : "rdfs:Class") + " .\n";
    for (std::size_t s = pick(4); s > 0; --s)
      out += c + " rdfs:subClassOf " + cls(pick(kClasses + 2)) + " .\n";
    if (pick(3) == 0) {
      out += c + " owl:equivalentClass [ owl:intersectionOf ( " + cls(pick(kClasses)) +
             " [ a owl:Restriction ; owl:onProperty " + property(pick(kProperties)) +
             " ; owl:allValuesFrom " + cls(pick(kClasses)) + " ] ) ] .\n";
    }
    if (pick(4) == 0) out += c + " dcterms:isReplacedBy " + cls(pick(kClasses)) + " .\n";
    if (pick(4) == 0) out += c + " owl:equivalentClass " + cls(pick(kClasses)) + " .\n";
    if (pick(6) == 0) out += c + " owl:deprecated true .\n";
  }
  for (std::size_t i = 0; i < kProperties; ++i) {
    const std::string p = property(i);
    out += p + (i % 3 == 0 ? " a owl:ObjectProperty" : " a rdf:Property") + " .\n";
    switch (pick(4)) {
      case 0:
        out += p + " rdfs:domain [ owl:unionOf ( " + cls(pick(kClasses)) + " " +
               cls(pick(kClasses)) + " ) ] .\n";
        break;
      case 1:
        out += p + " schema:domainIncludes " + cls(pick(kClasses)) + ", " + cls(pick(kClasses)) +
               " .\n";
        break;
      case 2:
        out += p + " rdfs:domain " + cls(pick(kClasses)) + " .\n";
        break;
      default:
        break;  // no domain: a property without class, or one restrictions give
    }
    switch (pick(5)) {
      case 0:
        out += p + " rdfs:range " + datatype() + ", " + cls(pick(kClasses)) + " .\n";
        break;
      case 1:
        out += p + " schema:rangeIncludes " + cls(pick(kClasses)) + ", " + cls(pick(kClasses)) +
               ", " + datatype() + " .\n";
        break;
      case 2:
        out += p + " rdfs:range [ owl:unionOf ( " + cls(pick(kClasses)) + " " + datatype() +
               " ) ] ; rdfs:range " + cls(pick(kClasses)) + " .\n";
        break;
      case 3:
        out += p + " rdfs:range [ owl:oneOf ( \"b\"@EN \"a\" 7 " + cls(pick(kClasses)) +
               " ) ], [ owl:oneOf ( \"c\" ) ] .\n";
        break;
      default:
        break;
    }
    if (pick(3) == 0) out += p + " schema:supersededBy " + property(pick(kProperties)) + " .\n";
    if (pick(3) == 0) out += p + " owl:equivalentProperty " + property(pick(kProperties)) + " .\n";
  }
  static const char* const kConstraints[] = {"owl:someValuesFrom ", "owl:allValuesFrom ",
                                             "owl:minCardinality 1 ; owl:onClass ",
                                             "owl:maxQualifiedCardinality 2 ; owl:onClass "};
  for (std::size_t r = 0; r < kClasses; ++r) {
    const std::string filler = pick(2) == 0 ? cls(pick(kClasses)) : datatype();
    out += cls(pick(kClasses)) + " rdfs:subClassOf [ a owl:Restriction ; owl:onProperty " +
           property(pick(kProperties)) + " ; " + kConstraints[pick(4)] + filler + " ] .\n";
  }
  if (pick(2) == 0) {
    // A malformed union: a cell with two members, as loose statements.
    out += property(pick(kProperties)) +
           " rdfs:domain [ owl:unionOf _:cell ] .\n_:cell rdf:first " + cls(pick(kClasses)) +
           " , " + cls(pick(kClasses)) + " ; rdf:rest rdf:nil .\n";
  }
  out += cls(0) + " rdfs:subClassOf [ a owl:Restriction ; owl:onProperty " + property(1) +
         " ; owl:someValuesFrom " + cls(1) + " ; owl:someValuesFrom " + cls(2) +
         " ] , [ owl:onProperty " + property(1) + " ; owl:hasValue \"x\"@EN ] , [ owl:onProperty " +
         property(2) + " ; owl:hasValue 8 ] .\n";
  return out;
}

// Success when two dumps are equal; else the first line where they part.
// Not EXPECT_EQ: gtest diffs two long strings line against line, which for
// the dumps of large vocabularies takes gigabytes.
::testing::AssertionResult SameDump(const std::string& expected, const std::string& actual) {
  if (expected == actual) return ::testing::AssertionSuccess();
  std::istringstream a(expected);
  std::istringstream b(actual);
  std::string x;
  std::string y;
  for (int line = 1;; ++line) {
    const bool more = static_cast<bool>(std::getline(a, x));
    const bool moreToo = static_cast<bool>(std::getline(b, y));
    if (more != moreToo || x != y) {
      return ::testing::AssertionFailure()
             << "dumps part at line " << line << ":\n  expected: " << (more ? x : "(end)")
             << "\n  actual:   " << (moreToo ? y : "(end)");
    }
  }
}

class ModelInvarianceTest : public ::testing::Test {
 protected:
  // The dump of the model that `document`, named `name`, loads into, or
  // "error: ...".
  static std::string Dump(const std::string& document, RdfSyntax syntax, const std::string& name) {
    LoadedModel loaded;
    const qaxoi::Status status = LoadModelText(document, syntax, name, "", &loaded);
    return status.ok() ? LoadedModelDump(loaded, name) : "error: " + status.message();
  }

  // Checks that every variant of `statements` loads into `expected`:
  // shuffled and relabelled as N-Triples, N-Quads and TriG under each of
  // `seeds`, and written by raptor as each of `serializers` with misleading
  // prefixes. A serializer that cannot write the graph (RDF/XML and some
  // predicate IRIs) is passed over and counted in `refused`.
  static void ExpectEveryVariant(const Statements& statements, const std::string& expected,
                                 const std::vector<unsigned>& seeds,
                                 const std::vector<const char*>& serializers,
                                 std::vector<RdfSyntax> syntaxes, int* refused = nullptr) {
    for (const unsigned seed : seeds) {
      const Statements variant = Relabelled(Shuffled(statements, seed), seed);
      for (const RdfSyntax syntax : syntaxes) {
        EXPECT_TRUE(SameDump(expected, Dump(Written(variant, syntax), syntax, "variant")))
            << "seed " << seed << ", syntax " << static_cast<int>(syntax);
      }
    }
    for (const char* serializer : serializers) {
      std::string document;
      std::string error;
      if (!Serialized(Shuffled(statements, seeds.front()), serializer, DecoyPrefixes(), &document,
                      &error)) {
        ASSERT_NE(refused, nullptr) << serializer << ": " << error;
        ++*refused;
        continue;
      }
      const RdfSyntax syntax =
          std::string(serializer) == "turtle" ? RdfSyntax::kTurtle : RdfSyntax::kRdfXml;
      EXPECT_TRUE(SameDump(expected, Dump(document, syntax, "converted"))) << serializer;
    }
  }
};

// Generated vocabularies hold every order question at once; each loads into
// the same model from every variant, and the model has what they test.
TEST_F(ModelInvarianceTest, GeneratedVocabulariesGiveOneModelFromEveryVariant) {
  constexpr unsigned kSeeds = 12;
  std::string all;  // every seed's dump, to check what they cover
  for (unsigned seed = 1; seed <= kSeeds; ++seed) {
    SCOPED_TRACE("vocabulary of seed " + std::to_string(seed));
    const std::string turtle = GeneratedVocabulary(seed);
    const std::string expected = Dump(turtle, RdfSyntax::kTurtle, "generated");
    ASSERT_EQ(expected.rfind("error: ", 0), std::string::npos) << expected << "\n" << turtle;
    all += expected;
    Statements statements;
    std::string error;
    ASSERT_TRUE(ReadStatements(turtle, RdfSyntax::kTurtle, "", &statements, &error)) << error;
    ExpectEveryVariant(statements, expected, {seed, seed + 100, seed + 200},
                       {"turtle", "rdfxml-abbrev", "rdfxml"},
                       {RdfSyntax::kNTriples, RdfSyntax::kNQuads, RdfSyntax::kTriG});
  }
  for (const char* covered :
       {"library \"park\"", "library \"zoo\" <http://gen.test/zoo#>", "would close a loop",
        "replaced by <", "equivalent to <", "doc \"doc", "Also a subclass of", "    anyOf <",
        "    oneOf \"a\"", "    oneOf \"7\" ^^<http://www.w3.org/2001/XMLSchema#integer>", "@en",
        "without class", "malformed", "sh:or", "sh:in"}) {
    EXPECT_NE(all.find(covered), std::string::npos) << covered;
  }
}

// The folder of the test package's vocabularies.
std::string VocabularyFolder() {
  const char* env = std::getenv("QAX_VOCABULARY_DIR");
  return env != nullptr ? env : QAX_VOCABULARY_DIR;
}

std::vector<std::string> PackageVocabularies() {
  std::vector<std::string> names;
  if (DIR* dir = opendir(VocabularyFolder().c_str())) {
    while (const dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name.size() > 3 && name.compare(name.size() - 3, 3, ".nq") == 0) {
        names.push_back(name.substr(0, name.size() - 3));
      }
    }
    closedir(dir);
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(PackageVocabularies, AreAllThere) {
  EXPECT_GE(PackageVocabularies().size(), 84u)
      << VocabularyFolder() << " lacks vocabularies: run scripts/fetch-vocabularies.sh from the "
      << "repository root (it needs npm), or point QAX_VOCABULARY_DIR at them";
}

// Vocabularies whose graphs hold the most that orders used to decide
// (several superclasses, unions, restrictions, enumerations, ontologies'
// prefixes), loaded from more seeds and every conversion.
bool Thorough(const std::string& name) {
  static const char* const kThorough[] = {"foaf", "gr", "prov", "qudt", "skos", "time"};
  return std::find(std::begin(kThorough), std::end(kThorough), name) != std::end(kThorough);
}

class PackageVocabulary : public ModelInvarianceTest,
                          public ::testing::WithParamInterface<std::string> {};

// Each vocabulary of the package loads into one model shuffled and
// relabelled as N-Triples, and converted by raptor to Turtle or RDF/XML
// (alternately; Turtle where RDF/XML cannot write the graph).
TEST_P(PackageVocabulary, GivesOneModelShuffledRelabelledAndConverted) {
  const std::string name = GetParam();
  std::ifstream file(VocabularyFolder() + "/" + name + ".nq", std::ios::binary);
  ASSERT_TRUE(file) << name;
  std::stringstream text;
  text << file.rdbuf();
  const std::string expected = Dump(text.str(), RdfSyntax::kNQuads, name + ".nq");
  ASSERT_EQ(expected.rfind("error: ", 0), std::string::npos) << expected;
  Statements statements;
  std::string error;
  ASSERT_TRUE(ReadStatements(text.str(), RdfSyntax::kNQuads, "", &statements, &error)) << error;
  unsigned place = 0;  // a seed of the name alone
  for (const char c : name) place = place * 31 + static_cast<unsigned char>(c);
  place %= 1000;
  int refused = 0;
  if (Thorough(name)) {
    ExpectEveryVariant(statements, expected, {place, place + 1, place + 2},
                       {"turtle", "rdfxml-abbrev"}, {RdfSyntax::kNTriples, RdfSyntax::kTriG},
                       &refused);
    EXPECT_EQ(refused, 0);
    return;
  }
  const bool xml = place % 2 == 1;
  ExpectEveryVariant(statements, expected, {place}, {xml ? "rdfxml-abbrev" : "turtle"},
                     {RdfSyntax::kNTriples}, &refused);
  if (refused != 0) ExpectEveryVariant(statements, expected, {place}, {"turtle"}, {});
}

GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(PackageVocabulary);
INSTANTIATE_TEST_SUITE_P(, PackageVocabulary, ::testing::ValuesIn(PackageVocabularies()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace qaxoi::test
