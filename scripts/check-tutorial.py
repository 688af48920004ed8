#!/usr/bin/env python3
"""Checks that a tutorial page's program is the example program, byte for byte.

    scripts/check-tutorial.py PAGE PROGRAM [--run COMMAND ...]

The program's text on PAGE is every ```cpp block between the lines
"<!-- tutorial: begin -->" and "<!-- tutorial: end -->", in order, one blank
line between two blocks. With --run, COMMAND (the program built, and its
arguments) is run too, and what it writes on standard output must be the
first ```text block after the tutorial, the output the page shows. Exits 0
when all holds, 1 naming the first line that differs (or the command's
failure), 2 when PAGE has no tutorial or no output block.
"""
import subprocess
import sys

BEGIN = "<!-- tutorial: begin -->"
END = "<!-- tutorial: end -->"


def tutorial_blocks(page_lines):
    """The cpp blocks of the tutorial, each a list of (page line number, text)."""
    blocks, block, inside, fenced = [], None, False, False
    for number, line in enumerate(page_lines, start=1):
        if line.strip() == BEGIN:
            inside = True
        elif line.strip() == END:
            inside = False
        elif inside and not fenced and line.strip() == "```cpp":
            fenced, block = True, []
        elif inside and fenced and line.strip() == "```":
            fenced = False
            blocks.append(block)
        elif fenced:
            block.append((number, line))
    return blocks


def shown_output(page_lines):
    """The first text block after the tutorial's end, as a list of lines; None without one."""
    after, block = False, None
    for line in page_lines:
        if line.strip() == END:
            after = True
        elif after and block is None and line.strip() == "```text":
            block = []
        elif block is not None and line.strip() == "```":
            return block
        elif block is not None:
            block.append(line)
    return None


def check_output(page, page_lines, command):
    shown = shown_output(page_lines)
    if shown is None:
        print(f"check-tutorial: {page} shows no output (a ```text block after '{END}')",
              file=sys.stderr)
        return 2
    run = subprocess.run(command, stdout=subprocess.PIPE, check=False)
    if run.returncode != 0:
        print(f"check-tutorial: {' '.join(command)} exited with {run.returncode}", file=sys.stderr)
        return 1
    printed = run.stdout.decode("utf-8").split("\n")
    if printed and printed[-1] == "":
        printed.pop()
    for index in range(max(len(shown), len(printed))):
        on_page = shown[index] if index < len(shown) else None
        out = printed[index] if index < len(printed) else None
        if on_page != out:
            print(f"check-tutorial: the output {page} shows and the program's differ at line "
                  f"{index + 1}:\n  page:    {on_page!r}\n  program: {out!r}", file=sys.stderr)
            return 1
    print(f"check-tutorial: the program prints what {page} shows")
    return 0


def main(argv):
    command = []
    if "--run" in argv:
        command = argv[argv.index("--run") + 1:]
        argv = argv[:argv.index("--run")]
    if len(argv) != 3 or ("--run" in sys.argv and not command):
        print("usage: check-tutorial.py PAGE PROGRAM [--run COMMAND ...]", file=sys.stderr)
        return 2
    page, program = argv[1], argv[2]
    with open(page, encoding="utf-8") as f:
        page_lines = f.read().split("\n")
    blocks = tutorial_blocks(page_lines)
    if not blocks:
        print(f"check-tutorial: {page} has no tutorial between '{BEGIN}' and '{END}'",
              file=sys.stderr)
        return 2
    shown = []  # (page line number or None for a separating blank, text)
    for i, block in enumerate(blocks):
        if i > 0:
            shown.append((None, ""))
        shown.extend(block)
    with open(program, encoding="utf-8") as f:
        lines = f.read().split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    for index in range(max(len(shown), len(lines))):
        on_page = shown[index] if index < len(shown) else (None, None)
        in_program = lines[index] if index < len(lines) else None
        if on_page[1] != in_program:
            where = f"line {on_page[0]}" if on_page[0] else "between two blocks"
            print(f"check-tutorial: {page} ({where}) and {program} (line {index + 1}) differ:\n"
                  f"  page:    {on_page[1]!r}\n  program: {in_program!r}", file=sys.stderr)
            return 1
    print(f"check-tutorial: the {len(blocks)} blocks of {page} are {program}")
    return check_output(page, page_lines, command) if command else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
