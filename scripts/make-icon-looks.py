#!/usr/bin/env python3
"""Derives the hover and disabled looks of the button icons.

Every resources/icons/NAME-normal.svg is drawn by hand; this script writes
NAME-hover.svg (lighter, livelier colours) and NAME-disabled.svg (soft greys)
beside it by rewriting each colour of the normal look. Run it again after
changing a normal look.
"""
import colorsys
import pathlib
import re

ICONS = pathlib.Path(__file__).resolve().parent.parent / "resources" / "icons"
COLOUR = re.compile(r"#([0-9A-Fa-f]{6})\b")


def hover(r, g, b):
    h, l, s = colorsys.rgb_to_hls(r, g, b)
    return colorsys.hls_to_rgb(h, min(1.0, l + (1.0 - l) * 0.28), min(1.0, s * 1.15))


def disabled(r, g, b):
    grey = 0.299 * r + 0.587 * g + 0.114 * b
    soft = 0.55 + grey * 0.4
    return soft, soft, soft


def rewrite(text, look):
    def repl(match):
        value = match.group(1)
        r, g, b = (int(value[i : i + 2], 16) / 255.0 for i in (0, 2, 4))
        r, g, b = look(r, g, b)
        return "#%02X%02X%02X" % tuple(round(c * 255) for c in (r, g, b))

    return COLOUR.sub(repl, text)


for normal in sorted(ICONS.glob("*-normal.svg")):
    name = normal.name[: -len("-normal.svg")]
    text = normal.read_text()
    (ICONS / f"{name}-hover.svg").write_text(rewrite(text, hover))
    (ICONS / f"{name}-disabled.svg").write_text(rewrite(text, disabled))
    print(name)
