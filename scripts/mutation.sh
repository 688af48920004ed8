#!/usr/bin/env bash
# Mutation check: how many deliberately planted faults the test suite catches.
#
#   scripts/mutation.sh [--only TEXT] [--scratch DIR] [--every] [MUTANT_FILE ...]
#   scripts/mutation.sh --generate [--sample N] [--seed S] [--from K] [--list] [--only TEXT]
#   scripts/mutation.sh --generate [--from K] GENERATED_LIST
#
# Each mutant is one small edit of a product source file (see
# tests/mutants/README.md for the format). The script keeps a scratch copy of
# the working tree (default build/mutation/tree), builds it once with the dev
# preset, checks that the unmutated suite passes, then for each mutant in turn
# applies the edit to the scratch copy, rebuilds incrementally, runs the whole
# suite (stopping at the first failure) and restores the file. It prints one
# line per mutant (killed by which test, or survived) and closes with
# "mutants: K killed, S survived".
#
# The working tree itself is never written: only the scratch copy is mutated,
# its file is restored after each mutant and on interruption, and every run
# first brings the scratch copy back in line with the working tree, so that
# even a killed run leaves nothing behind that the next run does not repair.
#
# --only TEXT   run only the mutants whose file path contains TEXT
# --scratch DIR keep the scratch copy (and its build) in DIR
# --every       run the whole suite for each mutant and name every test that
#               kills it (slower): a test that is never the only one to kill
#               a mutant is a candidate for merging or dropping
# --generate    instead of the hand-written lists, run mutants made mechanically
#               from the module's folders by scripts/generate-mutants.py (its
#               operators and their counts are printed first), built without
#               -Werror in build/mutation-generated unless --scratch is given;
#               a generated mutant that does not build is counted, not an
#               error, and the closing line gives the score with its 95 % margin;
#               the packaging check (install_package) is not run for them
# --sample N    with --generate: only N of them, a random subset chosen
#               reproducibly by --seed S (default 1), in the generated order
# --from K      start at the K-th mutant (as the lines number them), to go
#               on with a run that was stopped; the closing line counts only
#               the mutants this run made
# --list        with --generate: write the mutants to the scratch folder's
#               generated.txt and stop, running nothing
# --generate FILE  run FILE, a list of generated mutants made before (one
#               that scripts/remap-mutants.py carried over to moved code),
#               as generated mutants are run, instead of making new ones
# Exit status: 0 when every mutant applied and built (survivors included),
# 2 on a usage error, 3 when a mutant does not apply or does not build, 4 when
# the unmutated suite fails.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
scratch="$root/build/mutation"
scratch_given=0
only=""
every=0
generate=0
sample=0
seed=1
list_only=0
from=1
lists=()
configure_options=()
excluded=()
while (($# > 0)); do
  case "$1" in
    --only) only=${2:?--only needs a text}; shift 2 ;;
    --scratch) scratch=$(realpath -m "${2:?--scratch needs a folder}"); scratch_given=1; shift 2 ;;
    --every) every=1; shift ;;
    --generate) generate=1; shift ;;
    --sample) sample=${2:?--sample needs a count}; shift 2 ;;
    --seed) seed=${2:?--seed needs a number}; shift 2 ;;
    --from) from=${2:?--from needs a number}; shift 2 ;;
    --list) list_only=1; shift ;;
    -h|--help) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    -*) echo "mutation: unknown option '$1'" >&2; exit 2 ;;
    *) lists+=("$(realpath "$1")"); shift ;;
  esac
done
[[ $from =~ ^[1-9][0-9]*$ ]] || { echo "mutation: --from takes a number from 1" >&2; exit 2; }
if ((generate)); then
  if ((${#lists[@]} > 1 || (${#lists[@]} == 1 && (sample > 0 || list_only)))); then
    echo "mutation: --generate takes one list of generated mutants, without --sample or --list" >&2
    exit 2
  fi
  [[ $sample =~ ^[0-9]+$ && $seed =~ ^[0-9]+$ ]] ||
    { echo "mutation: --sample and --seed take whole numbers" >&2; exit 2; }
  # A mutant that only draws a compiler warning is still a fault to catch:
  # generated mutants build without -Werror, in a scratch copy of their own.
  if ((!scratch_given)); then scratch="$root/build/mutation-generated"; fi
  configure_options=(-DQAX_WARNINGS_AS_ERRORS=OFF)
  # Hundreds of rebuilds: link with lld and cache compiles where the machine
  # has them (a mutant's own object is never in the cache, its neighbours are).
  if command -v ld.lld >/dev/null; then
    for kind in EXE SHARED MODULE; do configure_options+=("-DCMAKE_${kind}_LINKER_FLAGS=-fuse-ld=lld"); done
  fi
  if command -v ccache >/dev/null; then
    configure_options+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  fi
  # The packaging check reinstalls and compiles every public header alone
  # (9 s a mutant); of the module it runs only the example, whose paths the
  # unit tests cover. Leaving it out can only add survivors.
  excluded=(-E '^install_package$')
  mkdir -p "$scratch"
  if ((${#lists[@]} == 0)); then
    python3 "$root/scripts/generate-mutants.py" "$root" "$scratch/generated.txt" \
      --sample "$sample" --seed "$seed" || exit 2
    lists=("$scratch/generated.txt")
  fi
  if ((list_only)); then echo "mutation: wrote $scratch/generated.txt"; exit 0; fi
elif ((sample > 0 || list_only)); then
  echo "mutation: --sample and --list go with --generate" >&2; exit 2
fi
if ((${#lists[@]} == 0)); then lists=("$root"/tests/mutants/*.txt); fi
tree="$scratch/tree"
jobs=$(nproc)

# --- The scratch copy: every file git knows of (committed or not, ignored
# files left out), copied only where it differs so that builds stay
# incremental; files gone from the working tree are removed from the copy.
sync_tree() {
  mkdir -p "$tree"
  local -A wanted=()
  local file
  while IFS= read -r -d '' file; do
    [[ -f "$root/$file" ]] || continue
    wanted["$file"]=1
    if ! cmp -s "$root/$file" "$tree/$file"; then
      mkdir -p "$tree/$(dirname "$file")"
      cp -p "$root/$file" "$tree/$file"
    fi
  done < <(cd "$root" && git ls-files -z --cached --others --exclude-standard)
  while IFS= read -r -d '' file; do
    file=${file#./}
    [[ -n ${wanted["$file"]+x} ]] || rm -f "$tree/$file"
  done < <(cd "$tree" && find . -path ./build -prune -o -path ./.cache -prune -o -type f -print0)
  # The real vocabularies, fetched by test.sh, are shared, not copied.
  if [[ -d "$root/.cache" && ! -e "$tree/.cache" ]]; then ln -s "$root/.cache" "$tree/.cache"; fi
}

# --- Mutants: blocks of "@ FILE", "- TEXT" (found on exactly one line of
# FILE) and "+ TEXT" (what replaces it; may be empty).
mutant_files=() mutant_finds=() mutant_repls=() mutant_origins=()
read_mutants() {
  local list line file="" find="" have_find=0 number
  for list in "${lists[@]}"; do
    number=0
    while IFS= read -r line || [[ -n $line ]]; do
      number=$((number + 1))
      case "$line" in
        '@ '*) file=${line#@ }; have_find=0 ;;
        '- '*|'-') find=${line#-}; find=${find# }; have_find=1 ;;
        '+ '*|'+')
          if [[ -z $file || $have_find -eq 0 ]]; then
            echo "mutation: $list:$number: '+' without '@ FILE' and '- TEXT' before it" >&2; exit 3
          fi
          local repl=${line#+}; repl=${repl# }
          if [[ -z $only || $file == *"$only"* ]]; then
            mutant_files+=("$file") mutant_finds+=("$find") mutant_repls+=("$repl")
            mutant_origins+=("${list#"$root"/}:$number")
          fi
          have_find=0 ;;
        ''|'#'*) ;;
        *) echo "mutation: $list:$number: cannot read '$line'" >&2; exit 3 ;;
      esac
    done < "$list"
  done
}

# Applies mutant $1 to the scratch copy and sets `where` to the mutated
# line's number; on failure sets `where` to the reason and returns 1.
where=""
apply_mutant() {
  local i=$1 path="$tree/${mutant_files[$1]}" find=${mutant_finds[$1]}
  [[ -f $path ]] || { where="no such file"; return 1; }
  local count
  count=$(grep -cF -- "$find" "$path" || true)
  if [[ $count != 1 ]]; then where="text found on $count lines, not one"; return 1; fi
  local lineno
  lineno=$(grep -nF -- "$find" "$path" | cut -d: -f1)
  cp -p "$path" "$scratch/original"
  restore_path=$path
  local out="" line n=0
  {
    while IFS= read -r line || [[ -n $line ]]; do
      n=$((n + 1))
      if ((n == lineno)); then line=${line/"$find"/"${mutant_repls[$i]}"}; fi
      printf '%s\n' "$line"
    done < "$scratch/original"
  } > "$path"
  where=$lineno
}

restore_path=""
restore() {
  if [[ -n $restore_path && -f "$scratch/original" ]]; then
    cp "$scratch/original" "$restore_path"
    touch "$restore_path"  # newer than the mutant's object files
    restore_path=""
  fi
}
trap restore EXIT
trap 'restore; exit 130' INT TERM

build() { cmake --build "$tree/build/dev" >"$scratch/build.log" 2>&1; }
# Runs the suite; sets `failed` to the first failed test's name, or with
# --every to all of them, space-separated (empty: all passed). Not run in a
# subshell, so that an interruption reaches the traps of this shell.
failed=""
run_suite() {
  local dir="$tree/build/dev"
  failed=""
  rm -f "$dir/Testing/Temporary/LastTestsFailed.log"
  local stop=(--stop-on-failure) pick='1s/^[0-9]*://p'
  if ((every)); then stop=() pick='s/^[0-9]*://p'; fi
  if (cd "$dir" && ctest -j "$jobs" "${stop[@]}" ${excluded[@]+"${excluded[@]}"} --timeout 120 >"$scratch/test.log" 2>&1); then
    return 0
  fi
  failed=$(sed -n "$pick" "$dir/Testing/Temporary/LastTestsFailed.log" 2>/dev/null | tr '\n' ' ' || true)
  failed=${failed% }
  failed=${failed:-the suite}
}

read_mutants
if ((${#mutant_files[@]} == 0)); then echo "mutation: no mutants to run" >&2; exit 2; fi

sync_tree
(cd "$tree" && cmake --preset dev "${configure_options[@]}" >"$scratch/configure.log" 2>&1) ||
  { echo "mutation: configure failed, see $scratch/configure.log" >&2; exit 4; }
build || { echo "mutation: the unmutated tree does not build, see $scratch/build.log" >&2; exit 4; }
run_suite
if [[ -n $failed ]]; then
  echo "mutation: the unmutated suite fails ($failed), see $scratch/test.log" >&2; exit 4
fi

killed=0 survived=0 broken=0 total=${#mutant_files[@]}
for ((i = from - 1; i < total; i++)); do
  label="${mutant_files[$i]}"
  if ! apply_mutant "$i"; then
    echo "[$((i + 1))/$total] ${mutant_origins[$i]} $label: does not apply ($where)"
    broken=$((broken + 1)); continue
  fi
  label="$label:$where"
  if ! build; then
    echo "[$((i + 1))/$total] $label: does not build (see ${mutant_origins[$i]})"
    broken=$((broken + 1)); restore; continue
  fi
  run_suite
  restore
  if [[ -n $failed ]]; then
    killed=$((killed + 1))
    echo "[$((i + 1))/$total] $label: killed by $failed"
  else
    survived=$((survived + 1))
    echo "[$((i + 1))/$total] $label: SURVIVED (${mutant_origins[$i]})"
  fi
done
# Leave the scratch build matching the unmutated tree.
build || true

echo "mutants: $killed killed, $survived survived"
if ((generate)); then
  # A generated mutant that does not build is no fault a test could catch.
  echo "generated mutants that did not build: $broken"
  awk -v k="$killed" -v s="$survived" 'BEGIN {
    n = k + s; if (n == 0) exit
    p = k / n; printf "score: %.1f %% of %d (95 %% margin +/- %.1f points)\n", 100 * p, n,
      196 * sqrt(p * (1 - p) / n) }'
  exit 0
fi
if ((broken > 0)); then echo "mutation: $broken mutants did not apply or build" >&2; exit 3; fi
