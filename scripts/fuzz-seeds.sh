#!/usr/bin/env bash
# Makes the seed corpora of the fuzz targets, fuzz/corpus/<target>/, from what
# the project itself writes and reads: group files saved by qax-host, the
# records of the ontology item channels in them, the vocabularies of the
# documentation and of qax-host, and messages of the module's own reporting
# sites. Run it again when those formats change, and commit the result.
#
#   scripts/fuzz-seeds.sh [QAX_HOST]     default: build/dev/bin/qax-host
set -euo pipefail
cd "$(dirname "$0")/.."
host=${1:-build/dev/bin/qax-host}
corpus=fuzz/corpus
rm -rf "$corpus"
mkdir -p "$corpus"/{group_file,item_records,vocabulary,diagnostics}

# Vocabularies: qax-host's sample ontology, the example of docs/vocabularies.md,
# and a statement of each kind in N-Quads.
sed -n '/R"TTL(/,/)TTL"/p' examples/sample/SampleOntology.cpp | sed -e 's/.*R"TTL(//' -e 's/)TTL".*//' \
  >"$corpus/vocabulary/sample.ttl"
sed -n '/^```turtle/,/^```/p' docs/vocabularies.md | sed '1d;$d' >"$corpus/vocabulary/zoo.ttl"
cat >"$corpus/vocabulary/kinds.nq" <<'NQ'
<http://e.org/A> <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> <http://www.w3.org/2002/07/owl#Class> <http://e.org/g> .
<http://e.org/B> <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> <http://www.w3.org/2000/01/rdf-schema#Class> .
<http://e.org/B> <http://www.w3.org/2000/01/rdf-schema#subClassOf> <http://e.org/A> .
<http://e.org/B> <http://www.w3.org/2000/01/rdf-schema#comment> "A \"B\"\u00E9"@en .
<http://e.org/p> <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> <http://www.w3.org/2002/07/owl#ObjectProperty> .
<http://e.org/p> <http://www.w3.org/2000/01/rdf-schema#domain> <http://e.org/B> .
<http://e.org/p> <http://www.w3.org/2000/01/rdf-schema#range> <http://e.org/A> .
<http://e.org/q> <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> <http://www.w3.org/1999/02/22-rdf-syntax-ns#Property> .
<http://e.org/q> <http://schema.org/domainIncludes> <http://e.org/A> .
<http://e.org/q> <http://schema.org/rangeIncludes> <http://www.w3.org/2001/XMLSchema#dateTime> .
_:b0 <http://www.w3.org/2002/07/owl#onProperty> <http://e.org/p> .
NQ

# Group files that qax-host saves, over its sample ontology and over the
# documentation's example.
"$host" save Penguin "$corpus/group_file/penguin.grp" alive=1 name=Pingu born=2020-01-01 \
  legs=2 weight=3.5 habitat.placeName=Antarctica habitat.latitude=-75 species=emperor >/dev/null
"$host" save Animal "$corpus/group_file/animal.grp" name=Rex >/dev/null
"$host" save Place "$corpus/group_file/place.grp" >/dev/null
"$host" --ontology "$corpus/vocabulary/zoo.ttl" save ex:Penguin "$corpus/group_file/zoo.grp" \
  name=Pondus flippers=2 tagged=0 >/dev/null
# A file of the first format version (no checksums), as earlier hosts wrote it.
cp tests/data/penguin-v1.grp "$corpus/group_file/penguin-v1.grp"

# The records of every ontology item channel of those files, as dump places
# them ("records: <size> bytes at byte <offset>").
for file in "$corpus"/group_file/*.grp; do
  "$host" dump "$file" |
    awk '/^channel #/ { item = /QAXOntologyItem/ } item && /^  records:/ { gsub(/,/, "", $2); print $2, $6 }' |
    while read -r size offset; do
      tail -c +$((offset + 1)) "$file" | head -c "$size" \
        >"$corpus/item_records/$(basename "$file" .grp)-$offset.rec"
    done
done

# Diagnostics: two repeat counts, then function name, condition and detail,
# separated by zero bytes (fuzz/DiagnosticsTarget.cpp).
diagnostic() {
  local name=$1 counts=$2 function=$3 condition=$4 detail=$5
  printf "$counts%s\0%s\0%s" "$function" "$condition" "$detail" >"$corpus/diagnostics/$name"
}
diagnostic failed-check '\0\0' 'ChannelExtension<class Aco_FloatChannel>::CE_SetSelf' 'self' ''
diagnostic error '\0\0' \
  'MultiModeChannel<class Aco_FloatChannel,class Aco_QAXOntologyItem>::GetModeDescription' '' \
  'ModeNotRecognized.Mode[7]'
diagnostic escapes '\0\0' 'GetChannelGroupName' '100% \\ sure %s %n' 'InvalidlLinkIndex.Link[5]'
diagnostic at-the-bound '\377\377' 'Aco_QAXOntologyItem::LoadChannel' 'count<limit' \
  'ChildSizeTooLarge.Count[4294967295].'
