#!/usr/bin/env python3
"""Makes mutants mechanically from the module's sources, for scripts/mutation.sh.

    scripts/generate-mutants.py ROOT OUTPUT [--sample N --seed S]

Reads every .cpp and .h file that git knows of under the module's folders
(module/, channel_extension/, multimode/, ontology_item/), and for every line
of code (comments, string contents and preprocessor lines are not mutated)
applies each operator at each place it fits:

  relational  a relational operator flipped or loosened (< to <=, == to != ...)
  bound       an integer literal compared with moved by one, up and down
  logical     && and || swapped
  negation    the condition of an if or while negated: if (x) -> if (!(x))
  call        a line that is only a call statement replaced by an empty block
  return      a returned true or false flipped
  constant    any other integer literal increased by one
  text        a non-empty string literal replaced by an empty one
  field       a field read replaced by a sibling field of the same type

Sibling fields come from the member declarations of the structs and classes
in the headers of host/ and of the module's folders: two fields are siblings
when one record declares both with the same type. A field name that several
records declare is replaced only by the siblings that each of them declares
with that same type, one mutant per sibling, so that the mutant builds. Reads are `.name`, `->name`
and, for members whose names end in `_`, the bare name; an assignment to the
field, a call and a declaration are not reads. A declaration the simple
parser cannot read (several names in one, function pointers ...) gives no
siblings: the operator then makes fewer mutants, never wrong ones.

Each mutant is written in the format of tests/mutants/*.txt, its `- TEXT` the
whole line of code (with its indentation when that is needed to make it
unique); a mutant whose text is still found on more than one line of the file,
as mutation.sh counts them, is skipped and counted as such. The order is fixed:
file, line, operator, column. With --sample N the output holds a random
subset of N, chosen reproducibly from --seed S and kept in that order.

Prints the counts per operator and per folder on standard error.
"""

import argparse
import random
import re
import subprocess
import sys
from collections import Counter, OrderedDict
from pathlib import Path

FOLDERS = ["module", "channel_extension", "multimode", "ontology_item"]
# Headers whose records give the sibling fields: the host's and the module's.
RECORD_FOLDERS = ["host"] + FOLDERS
OPERATORS = ["relational", "bound", "logical", "negation", "call", "return", "constant",
             "text", "field"]

RELATIONAL = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
# A binary operator stands between spaces (clang-format's layout), which tells
# `a < b` from a template's angle brackets and `<` from `<<`.
RELATIONAL_RE = re.compile(r"(?<=\s)(<=|>=|==|!=|<|>)(?=\s)")
BOUND_RE = re.compile(r"(?<=\s)(?:<=|>=|==|!=|<|>)\s+(\d+)(?![\w.])")
LOGICAL_RE = re.compile(r"(?<=\s)(&&|\|\|)(?=\s)")
CONDITION_RE = re.compile(r"\b(?:if|while)\s*(\()")
CALL_RE = re.compile(r"^(?:[A-Za-z_]\w*(?:::|\.|->))*[A-Za-z_]\w*\(.*\);$")
RETURN_RE = re.compile(r"\breturn (true|false);")
INTEGER_RE = re.compile(r"(?<![\w.'])(\d+)(?![\w.'])")
TEXT_RE = re.compile(r'"[^"]+"')
NOT_CALLS = {"return", "delete", "throw", "sizeof", "static_assert", "if", "while", "for",
             "switch", "case", "else", "do", "assert", "goto"}
MEMBER_RE = re.compile(
    r"^\s*(?:mutable\s+)?(?P<type>(?:const\s+)?[A-Za-z_][\w:]*(?:<[^;()]*>)?\s*[*&]?)\s*"
    r"\b(?P<name>[A-Za-z_]\w*)\s*(?P<array>\[[^\]]*\])?\s*(?:=[^;]*|\{[^;]*\})?;\s*$")
NOT_MEMBERS = {"return", "using", "typedef", "friend", "static", "enum", "class", "struct",
               "virtual", "explicit", "inline", "constexpr", "namespace", "template",
               "delete", "throw", "goto", "break", "continue", "case", "public", "private",
               "protected", "operator"}
RECORD_RE = re.compile(r"\b(?:struct|class)\s+(?:[A-Z_]+_API\s+)?([A-Za-z_]\w*)\s*(?:final\s*)?"
                       r"(?::[^;{]*)?(\{|$)")


def mask(lines):
    """Returns each line with comments blanked and the insides of string and
    character literals replaced by '_', columns kept, so that operators are
    only looked for in code. Raw strings are blanked like strings."""
    masked = []
    in_block = False
    raw_end = None
    for line in lines:
        out = []
        i = 0
        n = len(line)
        while i < n:
            if raw_end is not None:
                end = line.find(raw_end, i)
                if end < 0:
                    out.append("_" * (n - i))
                    i = n
                else:
                    out.append("_" * (end - i) + raw_end)
                    i = end + len(raw_end)
                    raw_end = None
                continue
            if in_block:
                end = line.find("*/", i)
                if end < 0:
                    out.append(" " * (n - i))
                    i = n
                else:
                    out.append(" " * (end + 2 - i))
                    i = end + 2
                    in_block = False
                continue
            c = line[i]
            if line.startswith("//", i):
                out.append(" " * (n - i))
                break
            if line.startswith("/*", i):
                in_block = True
                out.append("  ")
                i += 2
                continue
            raw = re.match(r'R"([^()\s]*)\(', line[i:])
            if raw and (i == 0 or not (line[i - 1].isalnum() or line[i - 1] == "_")):
                out.append(raw.group(0))
                i += len(raw.group(0))
                raw_end = ")" + raw.group(1) + '"'
                continue
            if c in "\"'":
                j = i + 1
                while j < n and line[j] != c:
                    j += 2 if line[j] == "\\" else 1
                j = min(j, n - 1)
                out.append(c + "_" * (j - i - 1) + line[j])
                i = j + 1
                continue
            out.append(c)
            i += 1
        masked.append("".join(out))
    return masked


def matching_paren(text, open_at):
    depth = 0
    for k in range(open_at, len(text)):
        if text[k] == "(":
            depth += 1
        elif text[k] == ")":
            depth -= 1
            if depth == 0:
                return k
    return -1


def git_files(root, folders):
    out = subprocess.run(["git", "-C", str(root), "ls-files", "--cached", "--others",
                          "--exclude-standard", "--"] + folders,
                         check=True, capture_output=True, text=True).stdout
    return sorted(f for f in out.splitlines()
                  if f.endswith((".cpp", ".h")) and (root / f).is_file())


def record_scopes(masked):
    """For each masked line, the record whose body it stands in directly
    (None outside records and inside their member functions' bodies), and the
    records' member declarations: (lines' records, [(record, {type: [names]})])."""
    depth = 0
    pending = None
    stack = []  # (record name, body depth, {type: [names]})
    owners = []
    records = []
    for code in masked:
        stripped = code.strip()
        inside = stack[-1][0] if stack and depth == stack[-1][1] else None
        owners.append(inside)
        if stripped.startswith("#"):
            continue
        if inside is not None:
            m = MEMBER_RE.match(code)
            if m and m.group("type").split()[0] not in NOT_MEMBERS and \
                    "(" not in code.split("=")[0]:
                # An array's size is part of its type: `char Name[80]` and
                # `std::string Name` make `Name` a name of two types.
                kind = re.sub(r"\s+", "", m.group("type") + (m.group("array") or ""))
                stack[-1][2].setdefault(kind, []).append(m.group("name"))
        record = RECORD_RE.search(code)
        if record and not stripped.endswith(";"):
            pending = record.group(1)
        for ch in code:
            if ch == "{":
                depth += 1
                if pending is not None:
                    stack.append((pending, depth, OrderedDict()))
                    pending = None
            elif ch == "}":
                if stack and stack[-1][1] == depth:
                    name, _, kinds = stack.pop()
                    records.append((name, kinds))
                depth -= 1
    return owners, records


def read_records(root):
    """Field name -> list of (record, type, ordered sibling names of that type)."""
    fields = {}
    for path in git_files(root, RECORD_FOLDERS):
        if not path.endswith(".h"):
            continue
        lines = (root / path).read_text(errors="replace").splitlines()
        for name, kinds in record_scopes(mask(lines))[1]:
            # Every field is noted, a field without siblings too: its name
            # then tells that another record's field of that name is of
            # another type.
            for kind, names in kinds.items():
                for field in names:
                    fields.setdefault(field, []).append((name, kind, names))
    return fields


def siblings_of(field, fields):
    """The siblings that every record declaring `field` declares with the
    same type, in declaration order starting after `field`."""
    owners = fields.get(field)
    if not owners or len({kind for _, kind, _ in owners}) != 1:
        return []
    first = owners[0][2]
    after = first[first.index(field) + 1:] + first[:first.index(field)]
    return [n for n in after if all(n in names for _, _, names in owners)]


# Members of the standard library's records, read through objects whose type
# the parser does not know: a record of the module's with a field of the same
# name must not make them look like its own.
STANDARD_MEMBERS = {"first", "second"}


def field_sites(code, fields, declared):
    """(start, end, sibling) for each field read on a masked line of code and
    each of its siblings."""
    sites = []
    for m in re.finditer(r"(?:(?<=\.)|(?<=->)|(?<![\w.>:]))([A-Za-z_]\w*)\b", code):
        name = m.group(1)
        if name not in fields or name in STANDARD_MEMBERS:
            continue
        start, end = m.span(1)
        accessed = code[max(0, start - 2):start].endswith(("->", ".")) or \
            (start > 0 and code[start - 1] == ".")
        if not accessed and not name.endswith("_"):
            continue
        rest = code[end:]
        if re.match(r"\s*(\(|=(?!=)|\+=|-=|\|=|&=|\+\+|--|\{)", rest):
            continue
        if code[:start].rstrip().endswith(("++", "--")) or name in declared:
            continue
        for sibling in siblings_of(name, fields):
            sites.append((start, end, sibling))
    return sites


def continues(previous):
    """Whether a line of code that follows `previous` is part of its statement
    (a declaration's attribute macro after its parameters, an argument ...);
    a line after `if (...)`, `for (...)` or `while (...)` is a statement."""
    p = previous.strip()
    if not p or p.startswith("#") or p[-1] in ";{}:":
        return False
    return p[-1] != ")" or not re.match(r"(\}\s*)?(else\s+)?(if|for|while)\b", p)


def mutate_file(root, path, fields):
    lines = (root / path).read_text(errors="replace").splitlines()
    masked = mask(lines)
    # A line directly in a record's body declares (a constructor looks like a
    # call); only lines in functions are call statements.
    owners = record_scopes(masked)[0]
    found = []  # (line number, operator, column, mutated line)
    previous = ""
    for number, (line, code, owner) in enumerate(zip(lines, masked, owners), start=1):
        stripped = code.strip()
        if not stripped or stripped.startswith("#"):
            if stripped:
                previous = code
            continue
        edits = []

        def edit(operator, start, end, replacement):
            edits.append((operator, start, line[:start] + replacement + line[end:]))

        for m in RELATIONAL_RE.finditer(code):
            edit("relational", m.start(1), m.end(1), RELATIONAL[m.group(1)])
        for m in BOUND_RE.finditer(code):
            value = int(m.group(1))
            edit("bound", m.start(1), m.end(1), str(value + 1))
            if value > 0:
                edit("bound", m.start(1), m.end(1), str(value - 1))
        for m in LOGICAL_RE.finditer(code):
            edit("logical", m.start(1), m.end(1), "||" if m.group(1) == "&&" else "&&")
        for m in CONDITION_RE.finditer(code):
            if code[m.end():].lstrip().startswith("constexpr"):
                continue
            close = matching_paren(code, m.start(1))
            if close > 0:
                inner = line[m.start(1) + 1:close]
                edit("negation", m.start(1), close + 1, "(!(" + inner + "))")
        call = CALL_RE.match(stripped)
        if call and owner is None and stripped.split("(")[0].split("::")[-1] not in NOT_CALLS and \
                matching_paren(stripped, stripped.index("(")) == len(stripped) - 2 and \
                not continues(previous):
            start = code.index(stripped)
            edit("call", start, start + len(stripped), "{}")
        for m in RETURN_RE.finditer(code):
            edit("return", m.start(1), m.end(1), "false" if m.group(1) == "true" else "true")
        compared = {m.start(1) for m in BOUND_RE.finditer(code)}
        # Case labels, static assertions, template arguments and attributes
        # (a printf format's argument numbers) are checked by the compiler.
        if not re.match(r"\s*(case\b|static_assert\b|template\b)", code) and \
                not re.search(r"__attribute__|PRINTF_FORMAT", code):
            for m in INTEGER_RE.finditer(code):
                if m.start(1) not in compared:
                    edit("constant", m.start(1), m.end(1), str(int(m.group(1)) + 1))
        for m in TEXT_RE.finditer(code):
            if not code[:m.start()].rstrip().endswith(("extern", "#include")):
                edit("text", m.start(), m.end(), '""')
        declared = set()
        member = MEMBER_RE.match(code)
        if member:
            declared.add(member.group("name"))
        for start, end, sibling in field_sites(code, fields, declared):
            edit("field", start, end, sibling)

        order = {name: k for k, name in enumerate(OPERATORS)}
        for operator, column, mutated in sorted(edits, key=lambda e: (order[e[0]], e[1])):
            if mutated != line:
                found.append((number, operator, column, mutated))
        previous = code
    return lines, found


def unique_text(lines, number, mutated):
    """The find and replace texts for a mutant of line `number`: the line
    without its indentation, or with it when that alone is not unique; None
    when neither is found on exactly one line (as grep -F counts)."""
    line = lines[number - 1]
    indent = len(line) - len(line.lstrip())
    for find, repl in ((line[indent:], mutated[indent:]), (line, mutated)):
        if find.strip() and sum(1 for other in lines if find in other) == 1:
            return find, repl
    return None


def main():
    parser = argparse.ArgumentParser(description="Makes mutants of the module's sources.")
    parser.add_argument("root")
    parser.add_argument("output")
    parser.add_argument("--sample", type=int, default=0)
    parser.add_argument("--seed", type=int, default=0)
    args = parser.parse_args()
    root = Path(args.root).resolve()
    fields = read_records(root)

    mutants = []  # (folder, operator, file, find, replace)
    skipped = Counter()
    for path in git_files(root, FOLDERS):
        lines, found = mutate_file(root, path, fields)
        for number, operator, _, mutated in found:
            texts = unique_text(lines, number, mutated)
            if texts is None:
                skipped[operator] += 1
                continue
            mutants.append((path.split("/")[0], operator, path, texts[0], texts[1]))

    by_operator = Counter(m[1] for m in mutants)
    by_folder = Counter(m[0] for m in mutants)
    total = len(mutants)
    print(f"generated {total} mutants", file=sys.stderr)
    for operator in OPERATORS:
        print(f"  {operator:<11} {by_operator[operator]:>5}"
              f"  ({skipped[operator]} skipped: text not unique)", file=sys.stderr)
    for folder in FOLDERS:
        print(f"  {folder + '/':<19} {by_folder[folder]:>5}", file=sys.stderr)

    chosen = list(range(total))
    if args.sample > 0 and args.sample < total:
        chosen = sorted(random.Random(args.seed).sample(chosen, args.sample))
        print(f"sample of {len(chosen)} with seed {args.seed}", file=sys.stderr)
    with open(args.output, "w") as out:
        for k in chosen:
            _, operator, path, find, repl = mutants[k]
            out.write(f"# generated {k + 1}: {operator}\n@ {path}\n- {find}\n+ {repl}\n\n")


if __name__ == "__main__":
    main()
