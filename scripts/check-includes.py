#!/usr/bin/env python3
"""Fails when an include inside the core or the GUI runs back up its layers.

The core's modules, lowest first. A module may include its own headers and
those of the modules below it; settings and selection (what the user checks
in a loaded tree) stand beside sources and targets, and a target may use a
source's reader (a merge reads the file it adds to);
nothing in the core includes the command line or the GUI.

The GUI's modules sit on the whole core and are included as "gui/MODULE/...":
windows/ (the widgets and services every window shares) at the bottom, the
selection window and the export windows above it (an export window opens the
selection window), and shell/ (start-up, the main window, the window factory)
on top, included by nothing below it.
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
    "conversion": {
        "text", "platform", "model", "settings", "selection", "sources", "targets", "conversion"
    },
}

GUI_ALLOWED = {
    "windows": {"windows"},
    "selection": {"windows", "selection"},
    "export": {"windows", "selection", "export"},
    "shell": {"windows", "selection", "export", "shell"},
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
SOURCES = (".h", ".cpp")


def main():
    src = pathlib.Path(__file__).resolve().parent.parent / "src"
    faults = check_layers(src / "core", ALLOWED, core_module) + check_layers(
        src / "gui", GUI_ALLOWED, gui_module)
    for fault in faults:
        print(fault, file=sys.stderr)
    return 1 if faults else 0


def check_layers(folder, allowed_by_module, module_of_include):
    faults = []
    for path in sorted(folder.rglob("*")):
        if path.suffix not in SOURCES and path.suffix != ".ui":
            continue
        module = path.relative_to(folder).parts[0]
        allowed = allowed_by_module.get(module)
        if allowed is None:
            faults.append(f"{path}: the module '{module}' has no place in the layer order")
            continue
        for line, included in enumerate_includes(path):
            target = module_of_include(included)
            if target is not None and target not in allowed:
                faults.append(f"{path}:{line}: {module} includes {included}")
    return faults


def core_module(included):
    """The core module an include of the core names; every folder counts."""
    return included.split("/")[0] if "/" in included else None


def gui_module(included):
    """The GUI module an include of the GUI names ("gui/MODULE/..."); the
    core's headers are all allowed."""
    parts = included.split("/")
    return parts[1] if parts[0] == "gui" and len(parts) > 2 else None


def enumerate_includes(path):
    text = path.read_text(encoding="utf-8")
    pattern = HEADER if path.suffix == ".ui" else INCLUDE
    for match in pattern.finditer(text):
        yield text.count("\n", 0, match.start()) + 1, match.group(1)


HEADER = re.compile(r"<header>([^<]+)</header>")


if __name__ == "__main__":
    sys.exit(main())
