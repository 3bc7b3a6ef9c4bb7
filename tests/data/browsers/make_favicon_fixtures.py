#!/usr/bin/env python3
"""Makes the fixtures of browser profiles whose links have icons.

favicons/firefox/ holds a places.sqlite with a favicons.sqlite beside it, in
the tables and columns Firefox gives them; favicons/chromium/ holds a
"Bookmarks" file with a "Favicons" database beside it, in Chromium's layout.
Both name the same links, each exercising a way a page gets its icon or
does not. The generated files are committed, so the tests never run this.
"""
import json
import pathlib
import sqlite3
import struct
import zlib

from make_fixtures import MENU, Places

HERE = pathlib.Path(__file__).resolve().parent / "favicons"

FIREFOX_SCHEMA = """
CREATE TABLE moz_icons (id INTEGER PRIMARY KEY, icon_url TEXT NOT NULL,
  fixed_icon_url_hash INTEGER NOT NULL, width INTEGER NOT NULL DEFAULT 0,
  root INTEGER NOT NULL DEFAULT 0, color INTEGER, expire_ms INTEGER NOT NULL DEFAULT 0,
  data BLOB);
CREATE TABLE moz_pages_w_icons (id INTEGER PRIMARY KEY, page_url TEXT NOT NULL,
  page_url_hash INTEGER NOT NULL);
CREATE TABLE moz_icons_to_pages (page_id INTEGER NOT NULL, icon_id INTEGER NOT NULL,
  expire_ms INTEGER NOT NULL DEFAULT 0, PRIMARY KEY (page_id, icon_id)) WITHOUT ROWID;
CREATE INDEX moz_icons_iconurlhashindex ON moz_icons (fixed_icon_url_hash);
CREATE INDEX moz_pages_w_icons_urlhashindex ON moz_pages_w_icons (page_url_hash);
"""

CHROMIUM_SCHEMA = """
CREATE TABLE icon_mapping (id INTEGER PRIMARY KEY, page_url LONGVARCHAR NOT NULL,
  icon_id INTEGER);
CREATE INDEX icon_mapping_page_url_idx ON icon_mapping(page_url);
CREATE TABLE favicons (id INTEGER PRIMARY KEY, url LONGVARCHAR NOT NULL,
  icon_type INTEGER DEFAULT 1);
CREATE TABLE favicon_bitmaps (id INTEGER PRIMARY KEY, icon_id INTEGER NOT NULL,
  last_updated INTEGER DEFAULT 0, image_data BLOB, width INTEGER DEFAULT 0,
  height INTEGER DEFAULT 0, last_requested INTEGER DEFAULT 0);
"""


def png(red, green, blue, padding=0):
    """A one-pixel PNG of a colour; padding adds an ancillary chunk of that
    many bytes, to make an image of a given size."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    header = struct.pack(">IIBBBBB", 1, 1, 8, 2, 0, 0, 0)
    pixels = zlib.compress(bytes([0, red, green, blue]))
    extra = chunk(b"tEXt", b"c\0" + b"x" * (padding - 2)) if padding else b""
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + extra +
            chunk(b"IDAT", pixels) + chunk(b"IEND", b""))


RED, GREEN, BLUE = png(255, 0, 0), png(0, 255, 0), png(0, 0, 255)
# 65 KiB in all: more than a link icon may be.
HUGE = png(9, 9, 9, 65 * 1024 - len(png(9, 9, 9, 2)) + 2)
NOT_IMAGE = b"<html>not an image</html>"

# The links, each with the icons the browser keeps for its page: (icon
# address, image, width); a page with none has no row.
PAGES = [
    ("Sized", "https://sized.example/", [
        ("https://sized.example/32.png", BLUE, 32),
        ("https://sized.example/16.png", RED, 16)]),
    ("Shares red", "https://sized.example/other", [("https://sized.example/16.png", RED, 16)]),
    ("Imported", "https://imported.example/", [
        ("fake-favicon-uri:https://imported.example/", GREEN, 16)]),
    ("Site root", "https://rooted.example/page?x=1", []),
    ("Huge", "https://huge.example/", [("https://huge.example/favicon.png", HUGE, 16)]),
    ("Not an image", "https://broken.example/", [("https://broken.example/i.png", NOT_IMAGE, 16)]),
    ("No icon", "https://none.example/", []),
]
# Firefox keeps a site's /favicon.ico as a root icon, linked to no page.
ROOT_ICON = ("https://rooted.example/favicon.ico", BLUE, 16)


def make_firefox_profile():
    folder = HERE / "firefox"
    folder.mkdir(parents=True, exist_ok=True)
    for name in ("places.sqlite", "favicons.sqlite"):
        (folder / name).unlink(missing_ok=True)
    with sqlite3.connect(folder / "places.sqlite") as connection:
        places = Places(connection)
        for title, page, _ in PAGES:
            places.link(MENU, title, page)
    with sqlite3.connect(folder / "favicons.sqlite") as db:
        db.executescript(FIREFOX_SCHEMA)
        icons = {}

        def icon(address, image, width, root=0):
            key = (address, width)
            if key not in icons:
                icons[key] = db.execute(
                    "INSERT INTO moz_icons (icon_url, fixed_icon_url_hash, width, root, data)"
                    " VALUES (?, 0, ?, ?, ?)", (address, width, root, image)).lastrowid
            return icons[key]
        icon(*ROOT_ICON, root=1)
        for _, page, page_icons in PAGES:
            if not page_icons:
                continue
            page_id = db.execute("INSERT INTO moz_pages_w_icons (page_url, page_url_hash)"
                                 " VALUES (?, 0)", (page,)).lastrowid
            for address, image, width in page_icons:
                db.execute("INSERT INTO moz_icons_to_pages (page_id, icon_id) VALUES (?, ?)",
                           (page_id, icon(address, image, width)))


def make_chromium_profile():
    folder = HERE / "chromium"
    folder.mkdir(parents=True, exist_ok=True)
    (folder / "Favicons").unlink(missing_ok=True)
    children = [{"type": "url", "name": title, "url": page, "id": str(n + 10)}
                for n, (title, page, _) in enumerate(PAGES)]
    bookmarks = {"version": 1, "roots": {
        "bookmark_bar": {"type": "folder", "name": "Bookmarks bar", "id": "1", "children": children},
        "other": {"type": "folder", "name": "Other bookmarks", "id": "2", "children": []},
        "synced": {"type": "folder", "name": "Mobile bookmarks", "id": "3", "children": []}}}
    (folder / "Bookmarks").write_text(json.dumps(bookmarks, indent=3) + "\n")
    with sqlite3.connect(folder / "Favicons") as db:
        db.executescript(CHROMIUM_SCHEMA)
        icons = {}
        for _, page, page_icons in PAGES:
            for address, image, width in page_icons:
                if address not in icons:
                    icons[address] = db.execute("INSERT INTO favicons (url) VALUES (?)",
                                                (address,)).lastrowid
                    db.execute("INSERT INTO favicon_bitmaps (icon_id, image_data, width, height)"
                               " VALUES (?, ?, ?, ?)", (icons[address], image, width, width))
                db.execute("INSERT INTO icon_mapping (page_url, icon_id) VALUES (?, ?)",
                           (page, icons[address]))


if __name__ == "__main__":
    make_firefox_profile()
    make_chromium_profile()
