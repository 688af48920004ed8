#!/usr/bin/env bash
# Fetches the RDF vocabularies that the ontology loader's tests read: the npm
# package @zazuko/rdf-vocabularies, a data package (its files are unpacked,
# nothing of it runs). Lands in <repo>/.cache/vocabularies/package/ontologies.
# Does nothing when that folder is already there.
set -euo pipefail

readonly package="@zazuko/rdf-vocabularies"
readonly version="2023.1.19"
root="$(cd "$(dirname "$0")/.." && pwd)"
readonly target="$root/.cache/vocabularies"
readonly marker="$target/package/ontologies/schema.nq"

if [[ -f "$marker" ]]; then
  exit 0
fi

if ! command -v npm >/dev/null 2>&1; then
  echo "fetch-vocabularies: npm is missing; install it (apt-get install npm) and run again" >&2
  exit 1
fi

mkdir -p "$target"
work="$(mktemp -d "$target/.fetch.XXXXXX")"
trap 'rm -rf "$work"' EXIT

echo "fetch-vocabularies: fetching $package@$version" >&2
(cd "$work" && npm pack --silent --ignore-scripts "$package@$version" >/dev/null)
tarball="$(ls "$work"/*.tgz)"
mkdir "$work/unpacked"
tar -xzf "$tarball" -C "$work/unpacked" --no-same-owner
if [[ ! -d "$work/unpacked/package/ontologies" ]]; then
  echo "fetch-vocabularies: $tarball has no package/ontologies folder" >&2
  exit 1
fi
rm -rf "$target/package"
mv "$work/unpacked/package" "$target/package"
echo "fetch-vocabularies: unpacked into $target/package" >&2
