#!/usr/bin/env python3
"""Carries mutants made from an older tree over to the current one.

    scripts/remap-mutants.py OLD_MUTANTS OUTPUT

OLD_MUTANTS is a list in the format of tests/mutants/*.txt made from an
older commit (scripts/generate-mutants.py run in a worktree of it). Code
moves between files and namespaces are renamed; a mutant is still the same
fault when the line it changes still exists. Each mutant is therefore looked
for by its text: in its own file, else in the one file of the module's
folders that holds the text exactly once, first as written, then with the
project's namespace renames applied to both of its sides; the few lines that
were rewritten by hand since are in REWRITTEN. OUTPUT gets every mutant that
was placed, in the same order, ready for scripts/mutation.sh; those that
were not are printed, and the exit status is 1 when there are any.
"""

import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FOLDERS = ["module", "channel_extension", "multimode", "ontology_item", "entry"]
# Namespaces renamed since the mutants were made: (old, new).
RENAMES = [("qax_module::", "qaxoi::module::"), ("channel_extension_internal::", "qaxoi::module::"),
           ("bounded_copy::", "qaxoi::module::"), ("multimode_internal::", "qaxoi::module::")]
# Mutants whose line was rewritten by hand since (a kind now read through
# AttrKindOf, a line that clang-format now wraps): their old sides, after
# RENAMES, and the sides that make the same fault now.
REWRITTEN = {
    ('info.kind == AttrKind::kComplex ? kComplexLinkSuffix : ""});',
     'info.kind != AttrKind::kComplex ? kComplexLinkSuffix : ""});'):
        ('kind == AttrKind::kComplex ? kComplexLinkSuffix : ""});',
         'kind != AttrKind::kComplex ? kComplexLinkSuffix : ""});'),
    ("if (info.kind != AttrKind::kComplex) return;",
     "if (info.kind == AttrKind::kComplex) return;"):
        ("if (AttrKindOf(info.kind) != AttrKind::kComplex) return;",
         "if (AttrKindOf(info.kind) == AttrKind::kComplex) return;"),
    ("if (index >= links || !qaxoi::module::Spend(qaxoi::module::kStepCost, kGetOntologyItemName)) break;",
     "if (index >= links && !qaxoi::module::Spend(qaxoi::module::kStepCost, kGetOntologyItemName)) break;"):
        ("if (index >= links || !qaxoi::module::Spend(qaxoi::module::kStepCost, kGetOntologyItemName))",
         "if (index >= links && !qaxoi::module::Spend(qaxoi::module::kStepCost, kGetOntologyItemName))"),
    ("if (index >= links || !qaxoi::module::Spend(qaxoi::module::kStepCost, kGetOntologyItemName)) break;",
     "if (index > links || !qaxoi::module::Spend(qaxoi::module::kStepCost, kGetOntologyItemName)) break;"):
        ("if (index >= links || !qaxoi::module::Spend(qaxoi::module::kStepCost, kGetOntologyItemName))",
         "if (index > links || !qaxoi::module::Spend(qaxoi::module::kStepCost, kGetOntologyItemName))"),
    ("if (index >= links || !qaxoi::module::Spend(qaxoi::module::kStepCost, kGetOntologyItemName)) break;",
     "if (!(index >= links || !qaxoi::module::Spend(qaxoi::module::kStepCost, kGetOntologyItemName))) break;"):
        ("if (index >= links || !qaxoi::module::Spend(qaxoi::module::kStepCost, kGetOntologyItemName))",
         "if (!(index >= links || !qaxoi::module::Spend(qaxoi::module::kStepCost, kGetOntologyItemName)))"),
}


def read_mutants(path):
    mutants, current = [], None
    with open(path) as source:
        for line in source:
            line = line.rstrip("\n")
            if line.startswith("@ "):
                current = {"file": line[2:].strip()}
            elif line.startswith("- ") and current is not None:
                current["minus"] = line[2:]
            elif line.startswith("+") and current is not None:
                current["plus"] = line[2:] if line.startswith("+ ") else ""
                mutants.append(current)
                current = None
    return mutants


def sources():
    found = {}
    for top in FOLDERS:
        for folder, _, files in os.walk(os.path.join(ROOT, top)):
            for name in files:
                if name.endswith((".h", ".cpp")):
                    path = os.path.relpath(os.path.join(folder, name), ROOT)
                    with open(os.path.join(ROOT, path)) as source:
                        found[path] = source.read().split("\n")
    return found


def rewritten(minus, plus):
    """The mutant's sides with the renames and rewrites applied."""
    for old, new in RENAMES:
        minus, plus = minus.replace(old, new), plus.replace(old, new)
    key = (minus.strip(), plus.strip())
    if key in REWRITTEN:
        indent = minus[:len(minus) - len(minus.lstrip())]
        new_minus, new_plus = REWRITTEN[key]
        return indent + new_minus, indent + new_plus
    return minus, plus


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    files = sources()

    def count(path, text):
        return sum(1 for line in files.get(path, ()) if text in line)

    placed, lost = [], []
    for mutant in read_mutants(sys.argv[1]):
        where = None
        for minus, plus in ((mutant["minus"], mutant["plus"]),
                            rewritten(mutant["minus"], mutant["plus"])):
            if count(mutant["file"], minus) == 1:
                where = (mutant["file"], minus, plus)
                break
            others = [path for path in files if count(path, minus) == 1]
            if len(others) == 1:
                where = (others[0], minus, plus)
                break
        (placed if where else lost).append((mutant, where))
    with open(sys.argv[2], "w") as out:
        for mutant, (path, minus, plus) in placed:
            out.write(f"# made from {mutant['file']}\n@ {path}\n- {minus}\n")
            out.write(f"+ {plus}\n\n" if plus else "+\n\n")
    for mutant, _ in lost:
        print(f"not placed: {mutant['file']}: {mutant['minus'].strip()}")
    print(f"{len(placed)} placed, {len(lost)} not placed", file=sys.stderr)
    return 1 if lost else 0


if __name__ == "__main__":
    sys.exit(main())
