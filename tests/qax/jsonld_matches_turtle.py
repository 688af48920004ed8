"""Items written as JSON-LD read back, with an independent JSON-LD processor
(rdflib), as exactly the graph of the same items written as Turtle.

usage: jsonld_matches_turtle.py BIN_DIR SOURCE_DIR

Exports items with qax-host (the sample ontology, and schema.org from the
test vocabularies when they are fetched) and with qax_item_document_pairs
(lists, IRI subjects and the rest that qax-host cannot make), in both
formats, and compares the graphs. Prints the differences and exits 1 when
they differ.
"""
import os
import subprocess
import sys
import tempfile

SETUP_HINT = "no python3 with rdflib (Debian's python3-rdflib): run scripts/setup.sh"
# The Python that Debian's python3-rdflib installs into, tried when the one
# running this script lacks rdflib (a pyenv one may come first on PATH).
SYSTEM_PYTHON = "/usr/bin/python3"
RETRY_MARK = "QAX_JSONLD_SYSTEM_PYTHON"

try:
    import rdflib
    from rdflib.compare import graph_diff, isomorphic, to_isomorphic
except ImportError:
    if os.environ.get(RETRY_MARK) is None and os.access(SYSTEM_PYTHON, os.X_OK):
        os.environ[RETRY_MARK] = "1"
        os.execv(SYSTEM_PYTHON, [SYSTEM_PYTHON] + sys.argv)
    sys.exit(SETUP_HINT)

SPECIES = 'Spheniscus "little" penguin\nn\u00e9e \\ \t \U0001F427'
# (name, qax-host arguments before the format, or None for the pairs program)
CASES = [
    ("sample penguin",
     ["export", "zoo:Penguin", "name=Pingu", "alive=true", "legs=2", "weight=4.5",
      "born=2008-11-02", "species=" + SPECIES, "habitat.placeName=Ross Sea",
      "habitat.latitude=-77.5"]),
    ("sample values that are no lexical form",
     ["export", "zoo:Penguin", "alive=false", "legs=-3", "weight=12", "born=last spring"]),
    ("schema.org",
     ["--ontology", "{vocabularies}/schema.nq", "export", "schema:Person", "name=Ada",
      "birthDate=1815-12-10", "netWorth.maxValue=1.65", "netWorth.currency=GBP",
      "netWorth.validFrom=1835-07-08T10:00:00", "knows.name=Charles",
      "knows.birthDate=1791-12-26"]),
    # References as {"@id": ...}, typed literals kept, numbers and booleans
    # native only where they read back as the same literal.
    ("references, enumerations and typed literals",
     ["--ontology", "{vocabularies}/schema.nq", "export", "schema:Event",
      "url=https://e.org/a?b#c", "sameAs=schema:Thing", "eventStatus=EventScheduled",
      "maximumAttendeeCapacity=120", "isAccessibleForFree=true", "organizer.name=Ada",
      "organizer.foundingDate=1815-12-10", "organizer.numberOfEmployees.value=3"]),
    ("a place's numbers, texts, times and days",
     ["--ontology", "{vocabularies}/schema.nq", "export", "schema:Place", "latitude=-77.5",
      "longitude=166 E", "openingHoursSpecification.dayOfWeek=Monday",
      "openingHoursSpecification.opens=09:00:00", "maximumAttendeeCapacity=007"]),
    ("a union's number written as one",
     ["--ontology", "{vocabularies}/schema.nq", "export", "schema:GeoCoordinates",
      "latitude=1e3", "longitude=0.5", "elevation=-12"]),
    ("items written by qax_item_document_pairs", None),
]


def run(command):
    done = subprocess.run(command, capture_output=True)
    if done.returncode != 0:
        sys.exit("%s failed (%d): %s" % (" ".join(command), done.returncode,
                                         done.stderr.decode("utf-8", "replace")))
    return done.stdout


def documents(bin_dir, arguments, vocabularies, scratch):
    """The Turtle and JSON-LD texts of one case."""
    if arguments is None:
        run([os.path.join(bin_dir, "qax_item_document_pairs"), scratch])
        with open(os.path.join(scratch, "items.ttl"), "rb") as ttl, \
                open(os.path.join(scratch, "items.jsonld"), "rb") as jsonld:
            return ttl.read(), jsonld.read()
    arguments = [a.replace("{vocabularies}", vocabularies) for a in arguments]
    host = [os.path.join(bin_dir, "qax-host")] + arguments
    return run(host + ["--format", "turtle"]), run(host + ["--format", "jsonld"])


def differences(turtle, jsonld):
    """Empty when the graphs are the same, else what each has alone."""
    both, in_turtle, in_jsonld = graph_diff(to_isomorphic(turtle), to_isomorphic(jsonld))
    lines = ["only in the Turtle export:"]
    lines += sorted(t.n3() + " " + p.n3() + " " + o.n3() for t, p, o in in_turtle)
    lines += ["only in the JSON-LD export:"]
    lines += sorted(t.n3() + " " + p.n3() + " " + o.n3() for t, p, o in in_jsonld)
    return "\n".join(lines)


def main():
    bin_dir, source_dir = sys.argv[1], sys.argv[2]
    vocabularies = os.environ.get("QAX_VOCABULARY_DIR") or os.path.join(
        source_dir, ".cache", "vocabularies", "package", "ontologies")
    failed = 0
    checked = 0
    with tempfile.TemporaryDirectory() as scratch:
        for name, arguments in CASES:
            if arguments and any("{vocabularies}/schema.nq" in a for a in arguments) and not os.path.exists(
                    os.path.join(vocabularies, "schema.nq")):
                print("%s: not checked, no %s/schema.nq (scripts/fetch-vocabularies.sh)"
                      % (name, vocabularies))
                continue
            turtle_text, jsonld_text = documents(bin_dir, arguments, vocabularies, scratch)
            turtle = rdflib.Graph().parse(data=turtle_text.decode("utf-8"), format="turtle")
            jsonld = rdflib.Graph().parse(data=jsonld_text.decode("utf-8"), format="json-ld")
            checked += 1
            if len(turtle) == 0 or not isomorphic(turtle, jsonld):
                failed += 1
                print("%s: the JSON-LD export is not the graph of the Turtle export (%d and %d "
                      "statements)\n%s\n--- JSON-LD:\n%s" % (
                          name, len(turtle), len(jsonld), differences(turtle, jsonld),
                          jsonld_text.decode("utf-8")))
            else:
                print("%s: the same %d statements" % (name, len(turtle)))
    print("checked %d exports, %d differ" % (checked, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
