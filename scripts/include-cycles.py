#!/usr/bin/env python3
"""Finds include circles in the project's own code.

A file's unit is its path without the extension (Foo.h and Foo.cpp are one
unit); unit A depends on unit B when a file of A includes a header of B. A
circle of units, or of folders (a folder depends on another when one of its
files includes a file of the other), is an error: each is printed, and the
exit status is 1. Only quoted includes count. With --graph the folders'
include counts are printed too, for the library's folders.

    scripts/include-cycles.py [--graph]
"""
import collections
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FOLDERS = ["host", "module", "channel_extension", "multimode", "ontology_item", "entry",
           "tools", "examples", "tests", "bench", "fuzz"]
# The folders whose edges --graph prints: the layers, not their users.
USERS = ("tests", "bench", "fuzz", "tools", "examples")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def edges():
    units = collections.defaultdict(set)
    folders = collections.Counter()
    for top in FOLDERS:
        for folder, _, files in os.walk(os.path.join(ROOT, top)):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.relpath(os.path.join(folder, name), ROOT)
                unit = os.path.splitext(path)[0]
                with open(os.path.join(ROOT, path), errors="replace") as source:
                    for line in source:
                        match = INCLUDE.match(line)
                        if not match:
                            continue
                        target = os.path.splitext(match.group(1))[0]
                        if target != unit:
                            units[unit].add(target)
                        if os.path.dirname(path) != os.path.dirname(match.group(1)):
                            folders[(os.path.dirname(path), os.path.dirname(match.group(1)))] += 1
    return units, folders


def circles(graph):
    """The strongly connected components of more than one node (Tarjan's,
    iterative: the graph is as deep as the project has files)."""
    index, low, on_stack, stack, found = {}, {}, set(), [], []
    counter = 0
    for start in sorted(graph):
        if start in index:
            continue
        work = [(start, iter(sorted(graph.get(start, ()))))]
        index[start] = low[start] = counter
        counter += 1
        stack.append(start)
        on_stack.add(start)
        while work:
            node, children = work[-1]
            advanced = False
            for child in children:
                if child not in index:
                    index[child] = low[child] = counter
                    counter += 1
                    stack.append(child)
                    on_stack.add(child)
                    work.append((child, iter(sorted(graph.get(child, ())))))
                    advanced = True
                    break
                if child in on_stack:
                    low[node] = min(low[node], index[child])
            if advanced:
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[node])
            if low[node] == index[node]:
                component = []
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    component.append(member)
                    if member == node:
                        break
                if len(component) > 1:
                    found.append(sorted(component))
    return found


def main():
    units, folders = edges()
    folder_graph = collections.defaultdict(set)
    for (source, target) in folders:
        folder_graph[source].add(target)
    if "--graph" in sys.argv[1:]:
        for (source, target), count in sorted(folders.items()):
            if not source.startswith(USERS):
                print(f"{source} -> {target}: {count}")
    problems = [("files", c) for c in circles(units)] + [("folders", c) for c in circles(folder_graph)]
    for kind, component in problems:
        print(f"include circle between {kind}: " + " <-> ".join(component), file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
