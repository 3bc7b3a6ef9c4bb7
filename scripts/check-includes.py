#!/usr/bin/env python3
"""Fails when an include inside the core runs back up its layers.

The core's modules, lowest first. A module may include its own headers and
those of the modules below it; settings and selection (what the user checks
in a loaded tree) stand beside sources and targets, and a target may use a
source's reader (a merge reads the file it adds to);
nothing in the core includes the command line or the GUI.
"""
import pathlib
import re
import sys

ALLOWED = {
    "text": {"text"},
    "platform": {"text", "platform"},
    "model": {"text", "platform", "model"},
    "settings": {"text", "platform", "model", "settings"},
    "selection": {"text", "platform", "model", "selection"},
    "sources": {"text", "platform", "model", "sources"},
    "targets": {"text", "platform", "model", "sources", "targets"},
    "conversion": {"text", "platform", "model", "settings", "sources", "targets", "conversion"},
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/[^"]+"', re.MULTILINE)


def main():
    core = pathlib.Path(__file__).resolve().parent.parent / "src" / "core"
    faults = []
    for path in sorted(core.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        module = path.relative_to(core).parts[0]
        allowed = ALLOWED.get(module)
        if allowed is None:
            faults.append(f"{path}: the module '{module}' has no place in the layer order")
            continue
        for line, included in enumerate_includes(path):
            if included not in allowed:
                faults.append(f"{path}:{line}: {module} includes {included}/")
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


def enumerate_includes(path):
    text = path.read_text(encoding="utf-8")
    for match in INCLUDE.finditer(text):
        yield text.count("\n", 0, match.start()) + 1, match.group(1)


if __name__ == "__main__":
    sys.exit(main())
