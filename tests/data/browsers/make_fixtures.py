#!/usr/bin/env python3
"""Makes the browser-store fixtures in this folder.

Firefox databases get the tables moz_places and moz_bookmarks with Firefox's
columns and its fixed root folders (by GUID); Chromium files get the JSON
layout of a profile's "Bookmarks" file; Firefox's bookmark backups (plain
JSON and the compressed .jsonlz4) are written from the same calls that fill a
database. Each fixture is named after what it exercises. The generated files are committed, so the tests never run this.
"""
import json
import pathlib
import shutil
import sqlite3

HERE = pathlib.Path(__file__).resolve().parent

SCHEMA = """
CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR,
  rev_host LONGVARCHAR, visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL,
  typed INTEGER DEFAULT 0 NOT NULL, frecency INTEGER DEFAULT -1 NOT NULL,
  last_visit_date INTEGER, guid TEXT, foreign_count INTEGER DEFAULT 0 NOT NULL,
  url_hash INTEGER DEFAULT 0 NOT NULL, description TEXT, preview_image_url TEXT,
  site_name TEXT, origin_id INTEGER);
CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL,
  parent INTEGER, position INTEGER, title LONGVARCHAR, keyword_id INTEGER,
  folder_type TEXT, dateAdded INTEGER, lastModified INTEGER, guid TEXT,
  syncStatus INTEGER NOT NULL DEFAULT 0, syncChangeCounter INTEGER NOT NULL DEFAULT 1);
CREATE UNIQUE INDEX moz_bookmarks_guid_uniqueindex ON moz_bookmarks (guid);
CREATE INDEX moz_bookmarks_itemindex ON moz_bookmarks (fk, type);
CREATE INDEX moz_bookmarks_parentindex ON moz_bookmarks (parent, position);
"""

LINK, FOLDER, SEPARATOR = 1, 2, 3

# Firefox's roots: id, parent, position, stored title, guid.
ROOTS = [
    (1, 0, 0, "", "root________"),
    (2, 1, 0, "menu", "menu________"),
    (3, 1, 1, "toolbar", "toolbar_____"),
    (4, 1, 2, "tags", "tags________"),
    (5, 1, 3, "unfiled", "unfiled_____"),
    (6, 1, 4, "mobile", "mobile______"),
]
MENU, TOOLBAR, TAGS, UNFILED, MOBILE = 2, 3, 4, 5, 6


class Places:
    """Adds items to a database the way Firefox lays them out."""

    def __init__(self, connection):
        self.db = connection
        self.db.executescript(SCHEMA)
        for row in ROOTS:
            self.db.execute(
                "INSERT INTO moz_bookmarks (id, type, parent, position, title, guid)"
                " VALUES (?, 2, ?, ?, ?, ?)", row)
        self.next_id = 100
        self.positions = {}

    def _add(self, parent, kind, title, fk=None):
        self.next_id += 1
        position = self.positions.get(parent, 0)
        self.positions[parent] = position + 1
        # Microseconds since 1970 with a part below the second, which
        # Firefox's own export drops.
        added = 1_600_000_000_000_000 + self.next_id * 1_000_000 + 250_000
        self.db.execute(
            "INSERT INTO moz_bookmarks (id, type, fk, parent, position, title, dateAdded,"
            " lastModified, guid) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
            (self.next_id, kind, fk, parent, position, title, added, added + 86_400_000_000,
             f"item{self.next_id:07d}"))
        return self.next_id

    def place(self, url):
        found = self.db.execute("SELECT id FROM moz_places WHERE url = ?", (url,)).fetchone()
        if found:
            return found[0]
        cursor = self.db.execute("INSERT INTO moz_places (url, guid) VALUES (?, ?)",
                                 (url, f"place{self.next_id:07d}"))
        return cursor.lastrowid

    def link(self, parent, title, url):
        return self._add(parent, LINK, title, self.place(url))

    def folder(self, parent, title):
        return self._add(parent, FOLDER, title)

    def separator(self, parent):
        return self._add(parent, SEPARATOR, None)


def fill_nested(places):
    """Nested and empty folders, separators, tags, place: queries, non-ASCII."""
    places.link(MENU, "Zürich – Ünïcode", "https://example.org/z%C3%BCrich")
    nested = places.folder(MENU, "Nested")
    deep = places.folder(nested, "Deep")
    places.link(deep, "Deep link", "http://example.com/deep?a=1&b=<2>")
    places.separator(nested)
    places.link(nested, "After separator", "http://example.com/after")
    places.folder(MENU, "Empty")
    places.link(MENU, "Most Visited", "place:sort=8&maxResults=10")
    places.link(MENU, None, "http://example.com/untitled")
    places.separator(MENU)
    places.link(TOOLBAR, "Toolbar link", "http://example.com/toolbar")
    tools = places.folder(TOOLBAR, "Tools")
    places.link(tools, "日本語", "http://example.jp/")
    places.link(UNFILED, "Unfiled link", "http://example.com/unfiled")
    places.link(MOBILE, "Phone link", "http://example.com/phone")
    # A tag is a folder under the tags root holding a link to the place.
    tag = places.folder(TAGS, "news")
    places.link(tag, None, "http://example.com/deep?a=1&b=<2>")


def make_nested_database():
    path = HERE / "nested-folders-tags-queries.sqlite"
    path.unlink(missing_ok=True)
    with sqlite3.connect(path) as db:
        fill_nested(Places(db))
    db.close()


def make_unmerged_wal_database():
    """A database whose last bookmarks are still only in its write-ahead log,
    as Firefox leaves it while it runs."""
    work = HERE / "work.sqlite"
    for suffix in ("", "-wal", "-shm"):
        pathlib.Path(str(work) + suffix).unlink(missing_ok=True)
    db = sqlite3.connect(work)
    db.execute("PRAGMA journal_mode=WAL")
    db.execute("PRAGMA wal_autocheckpoint=0")
    places = Places(db)
    places.link(MENU, "Merged link", "http://example.com/merged")
    db.commit()
    db.execute("PRAGMA wal_checkpoint(TRUNCATE)")
    places.link(MENU, "Only in the log", "http://example.com/log")
    log_folder = places.folder(TOOLBAR, "Log folder")
    places.link(log_folder, "Log child", "http://example.com/log/child")
    db.commit()
    target = HERE / "unmerged-wal.sqlite"
    shutil.copyfile(work, target)
    shutil.copyfile(str(work) + "-wal", str(target) + "-wal")
    db.close()
    for suffix in ("", "-wal", "-shm"):
        pathlib.Path(str(work) + suffix).unlink(missing_ok=True)


def make_held_write_database():
    """A database in rollback-journal mode as it lies while another program
    holds a write transaction open: the transaction's changed addresses are
    already in the database file (its page cache overflowed), and the hot
    journal beside it holds the committed pages. Read as committed, no
    address starts with http://uncommitted.example/. Any connection that may
    write rolls the journal back when it opens the file, so tests read a
    copy."""
    work = HERE / "work.sqlite"
    for suffix in ("", "-journal"):
        pathlib.Path(str(work) + suffix).unlink(missing_ok=True)
    db = sqlite3.connect(work, isolation_level=None)
    db.execute("PRAGMA page_size=1024")
    fill_nested(Places(db))
    # Visited pages that are no bookmarks, as a profile's history holds them.
    for n in range(400):
        db.execute("INSERT INTO moz_places (url, guid) VALUES (?, ?)",
                   (f"http://history.example/{n}", f"visit{n:07d}"))
    # A cache smaller than the change makes SQLite write changed pages into
    # the database file before the transaction ends.
    db.execute("PRAGMA cache_size=10")
    db.execute("BEGIN")
    db.execute("UPDATE moz_places SET url = 'http://uncommitted.example/' || id")
    target = HERE / "held-write-transaction.sqlite"
    shutil.copyfile(work, target)
    shutil.copyfile(str(work) + "-journal", str(target) + "-journal")
    db.execute("ROLLBACK")
    db.close()
    work.unlink()


def make_parent_cycle_database():
    """A damaged database in which a folder lies inside itself: a folder under
    the menu has the id 0 that the root names as its parent, so the root is
    inside that folder, which is inside the root. No key of the table
    forbids it."""
    path = HERE / "parent-cycle.sqlite"
    path.unlink(missing_ok=True)
    with sqlite3.connect(path) as db:
        places = Places(db)
        places.link(MENU, "Before the loop", "http://example.com/before")
        db.execute("INSERT INTO moz_bookmarks (id, type, parent, position, title, guid)"
                   " VALUES (0, 2, ?, 1, 'Loop', 'loopfolder00')", (MENU,))
    db.close()


def make_links_without_address_database():
    """Links whose place row is gone or has no address: each is skipped and
    counted."""
    path = HERE / "links-without-address.sqlite"
    path.unlink(missing_ok=True)
    with sqlite3.connect(path) as db:
        places = Places(db)
        places.link(MENU, "Kept", "http://example.com/kept")
        places._add(MENU, LINK, "Place gone", 999)
        places._add(MENU, LINK, "No place", None)
        for title, address in (("Null address", None), ("Empty address", "")):
            cursor = db.execute("INSERT INTO moz_places (url, guid) VALUES (?, ?)",
                                (address, f"place{title[:2]}"))
            places._add(MENU, LINK, title, cursor.lastrowid)
    db.close()


def make_foreign_database():
    path = HERE / "sqlite-without-bookmarks.sqlite"
    path.unlink(missing_ok=True)
    with sqlite3.connect(path) as db:
        db.execute("CREATE TABLE notes (id INTEGER PRIMARY KEY, text TEXT)")
    db.close()


def url(name, address):
    return {"date_added": "13300000000000000", "guid": name, "id": "0", "name": name,
            "type": "url", "url": address}


def folder(name, children):
    return {"children": children, "date_added": "13300000000000000",
            "date_modified": "0", "guid": name, "id": "0", "name": name, "type": "folder"}


def make_chromium_files():
    bookmarks = {
        "checksum": "00000000000000000000000000000000",
        "roots": {
            "bookmark_bar": folder("Bookmarks bar", [
                url("Bar link", "https://example.com/bar"),
                folder("Nested", [folder("Deep", [url("Deep link", "http://example.com/a&b")])]),
                folder("Empty", []),
            ]),
            "other": folder("Other bookmarks", [
                url("Ünïcode – 日本語", "http://example.jp/%E6%97%A5"),
                folder("Other folder", [url("Inner", "http://example.com/inner")]),
            ]),
            "synced": folder("Mobile bookmarks", [url("Phone", "http://example.com/phone")]),
        },
        "version": 1,
    }
    (HERE / "chromium-nested-roots.json").write_text(
        json.dumps(bookmarks, ensure_ascii=False, indent=3), encoding="utf-8")
    (HERE / "json-without-roots.json").write_text('{"version": 1, "bookmarks": []}\n')
    text = json.dumps(bookmarks, indent=3)
    (HERE / "truncated-json.json").write_text(text[: len(text) // 2])


class Backup:
    """Takes the calls Places takes and holds the same bookmarks as the tree
    of a Firefox bookmark backup; a tag becomes the "tags" of the links to
    its address."""

    ROOT_NAMES = {MENU: "bookmarksMenuFolder", TOOLBAR: "toolbarFolder",
                  UNFILED: "unfiledBookmarksFolder", MOBILE: "mobileFolder"}

    def __init__(self):
        self.next_id = 100
        self.nodes = {}
        self.tags = {}
        self.top = self._node(1, "", "text/x-moz-place-container", root="placesRoot")
        for number, root in self.ROOT_NAMES.items():
            title = {MENU: "menu", TOOLBAR: "toolbar", UNFILED: "unfiled", MOBILE: "mobile"}
            self.nodes[number] = self._node(number, title[number],
                                            "text/x-moz-place-container", root=root)
            self.top["children"].append(self.nodes[number])

    def _node(self, number, title, kind, root=None):
        # The same dates as Places gives the same item.
        added = 1_600_000_000_000_000 + number * 1_000_000 + 250_000
        node = {"guid": f"item{number:07d}", "title": title, "index": 0,
                "dateAdded": added, "lastModified": added + 86_400_000_000, "id": number,
                "typeCode": {"text/x-moz-place": 1, "text/x-moz-place-container": 2,
                             "text/x-moz-place-separator": 3}[kind], "type": kind}
        if root:
            node["root"] = root
        if kind == "text/x-moz-place-container":
            node["children"] = []
        return node

    def _add(self, parent, kind, title):
        self.next_id += 1
        node = self._node(self.next_id, title, kind)
        if title is None:
            del node["title"]
        siblings = self.nodes[parent]["children"]
        node["index"] = len(siblings)
        siblings.append(node)
        self.nodes[self.next_id] = node
        return self.next_id

    def link(self, parent, title, url):
        if parent in self.tags:
            self.next_id += 1
            for node in self.nodes.values():
                if node.get("uri") == url:
                    node["tags"] = ",".join(filter(None, [node.get("tags"), self.tags[parent]]))
            return self.next_id
        number = self._add(parent, "text/x-moz-place", title)
        self.nodes[number]["uri"] = url
        return number

    def folder(self, parent, title):
        if parent == TAGS:
            self.next_id += 1
            self.tags[self.next_id] = title
            return self.next_id
        return self._add(parent, "text/x-moz-place-container", title)

    def separator(self, parent):
        return self._add(parent, "text/x-moz-place-separator", None)

    def json(self):
        return json.dumps(self.top, ensure_ascii=False, separators=(",", ":"))


def mozlz4(data):
    """Firefox's compressed form: "mozLz40\0", the size as 4 bytes
    little-endian, and an LZ4 block. Python has no LZ4 here, so the block is
    one sequence of literals only, which the LZ4 block format allows: a token
    of 15 literals (lengths above 15 continue in bytes of 255 and a last
    byte), then the literals, and no match."""
    length = len(data)
    token = bytes([min(length, 15) << 4])
    extra = b""
    if length >= 15:
        rest = length - 15
        extra = b"\xff" * (rest // 255) + bytes([rest % 255])
    return b"mozLz40\0" + length.to_bytes(4, "little") + token + extra + data


def make_firefox_backups():
    backups = HERE / "firefox-backup"
    backups.mkdir(exist_ok=True)
    nested = Backup()
    fill_nested(nested)
    text = nested.json().encode("utf-8")
    (backups / "nested-folders-tags-queries.json").write_bytes(text)
    (backups / "nested-folders-tags-queries.jsonlz4").write_bytes(mozlz4(text))
    quirks = Backup()
    fill_backup_quirks(quirks)
    (backups / "quirks.json").write_text(
        json.dumps(quirks.top, ensure_ascii=False, indent=2), encoding="utf-8")


def fill_backup_quirks(backup):
    """What Firefox's own backups hold beside the database's rows: a keyword
    with "postData": null, an icon address, two tags on one link, an
    "index" that jumps, roots without "children", a link holding children."""
    work = backup.folder(MENU, "Work")
    keyworded = backup.link(work, "Keyworded", "https://example.org/search?q=%s")
    backup.nodes[keyworded].update({"keyword": "kw", "postData": None,
                                    "iconUri": "fake-favicon-uri:https://example.org/"})
    backup.nodes[keyworded]["index"] = 3
    tagged = backup.link(work, "Tagged", "https://example.org/tagged")
    backup.nodes[tagged]["tags"] = "news,read later"
    odd = backup.link(MENU, "Odd link", "https://example.org/odd")
    backup.nodes[odd]["children"] = [{"type": "text/x-moz-place", "title": "Inside a link",
                                      "uri": "https://example.org/inside"}]
    backup.link(TOOLBAR, "Toolbar link", "http://example.com/toolbar")
    del backup.nodes[UNFILED]["children"]
    del backup.nodes[MOBILE]["children"]


# The layout of a profile's database as Debian's Firefox ESR made it, for
# the writer's fixtures: its tables, PRAGMA user_version, write-ahead log.
ESR_SCHEMA = HERE / "firefox-esr-86-schema.sql"
ESR_SCHEMA_VERSION = 86
# A time in the fixtures' past (2020), in Firefox's microseconds.
FIXTURE_TIME = 1_600_000_000_000_000


def firefox_url_hash(url):
    """Firefox's moz_places.url_hash, for rows the fixtures add."""
    def golden(text):
        value = 0
        for byte in text:
            value = (0x9E3779B9 * ((((value << 5) | (value >> 27)) & 0xFFFFFFFF) ^ byte)) \
                & 0xFFFFFFFF
        return value
    data = url.encode()
    result = golden(data[:1500])
    colon = data[:50].find(b":")
    if colon >= 0:
        result += (golden(data[:colon]) & 0xFFFF) << 32
    return result


def split_origin(url):
    scheme, rest = url.split(":", 1)
    prefix = scheme + ("://" if rest.startswith("//") else ":")
    authority = url[len(prefix):]
    for end in "/?#":
        authority = authority.split(end, 1)[0]
    host = authority.rsplit("@", 1)[-1]
    return prefix, host, (host[::-1] + "." if rest.startswith("//") else ".")


class ProfilePlaces:
    """A profile's database in Firefox's own layout, filled the way Firefox
    fills it: roots, places with hashes and origins, counted references."""

    def __init__(self, path):
        for suffix in ("", "-wal", "-shm"):
            pathlib.Path(str(path) + suffix).unlink(missing_ok=True)
        self.db = sqlite3.connect(path, isolation_level=None)
        # Small pages keep the committed files small; the layout is the same.
        self.db.execute("PRAGMA page_size=1024")
        self.db.execute("PRAGMA journal_mode=WAL")
        self.db.executescript(ESR_SCHEMA.read_text())
        self.db.execute(f"PRAGMA user_version={ESR_SCHEMA_VERSION}")
        self.db.execute("BEGIN")
        for row in ROOTS:
            self.db.execute(
                "INSERT INTO moz_bookmarks (id, type, parent, position, title, dateAdded,"
                " lastModified, guid, syncStatus, syncChangeCounter)"
                " VALUES (?, 2, ?, ?, ?, ?, ?, ?, 1, 1)",
                row[:4] + (FIXTURE_TIME, FIXTURE_TIME, row[4]))
        self.next_id = 100

    def place(self, url, visits=0, frecency=-1):
        found = self.db.execute("SELECT id FROM moz_places WHERE url = ?", (url,)).fetchone()
        if found:
            return found[0]
        prefix, host, rev_host = split_origin(url)
        self.db.execute("INSERT OR IGNORE INTO moz_origins (prefix, host, frecency,"
                        " recalc_frecency, recalc_alt_frecency) VALUES (?, ?, ?, 1, 1)",
                        (prefix, host, frecency))
        origin = self.db.execute("SELECT id FROM moz_origins WHERE prefix = ? AND host = ?",
                                 (prefix, host)).fetchone()[0]
        self.next_id += 1
        cursor = self.db.execute(
            "INSERT INTO moz_places (url, url_hash, rev_host, visit_count, frecency, guid,"
            " origin_id, last_visit_date) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
            (url, firefox_url_hash(url), rev_host, visits, frecency, f"plce{self.next_id:08d}",
             origin, FIXTURE_TIME if visits else None))
        return cursor.lastrowid

    def _add(self, parent, kind, title, fk=None):
        self.next_id += 1
        position = self.db.execute("SELECT count(*) FROM moz_bookmarks WHERE parent = ?",
                                   (parent,)).fetchone()[0]
        added = FIXTURE_TIME + self.next_id * 1_000_000
        self.db.execute(
            "INSERT INTO moz_bookmarks (id, type, fk, parent, position, title, dateAdded,"
            " lastModified, guid, syncStatus, syncChangeCounter)"
            " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 2, 0)",
            (self.next_id, kind, fk, parent, position, title, added, added,
             f"item{self.next_id:08d}"))
        if fk is not None:
            self.db.execute("UPDATE moz_places SET foreign_count = foreign_count + 1,"
                            " frecency = MAX(frecency, 1) WHERE id = ?", (fk,))
        return self.next_id

    def link(self, parent, title, url):
        return self._add(parent, LINK, title, self.place(url))

    def folder(self, parent, title):
        return self._add(parent, FOLDER, title)

    def separator(self, parent):
        return self._add(parent, SEPARATOR, None)

    def tag(self, name, url):
        tag = self.db.execute("SELECT id FROM moz_bookmarks WHERE parent = ? AND title = ?",
                              (TAGS, name)).fetchone()
        self._add(tag[0] if tag else self.folder(TAGS, name), LINK, None, self.place(url))

    def keyword(self, keyword, url):
        place = self.place(url)
        self.db.execute("INSERT INTO moz_keywords (keyword, place_id) VALUES (?, ?)",
                        (keyword, place))
        self.db.execute("UPDATE moz_places SET foreign_count = foreign_count + 1 WHERE id = ?",
                        (place,))

    def annotate(self, item, name, content):
        self.db.execute("INSERT OR IGNORE INTO moz_anno_attributes (name) VALUES (?)", (name,))
        self.db.execute("INSERT INTO moz_items_annos (item_id, anno_attribute_id, content,"
                        " dateAdded, lastModified) SELECT ?, id, ?, ?, ? FROM moz_anno_attributes"
                        " WHERE name = ?", (item, content, FIXTURE_TIME, FIXTURE_TIME, name))

    def close(self):
        self.db.execute("COMMIT")
        self.db.execute("PRAGMA wal_checkpoint(TRUNCATE)")
        self.db.execute("PRAGMA journal_mode=WAL")
        self.db.close()
        for suffix in ("-wal", "-shm"):
            pathlib.Path(str(self.path) + suffix).unlink(missing_ok=True)


def make_profile_database(name, fill):
    path = HERE / name
    places = ProfilePlaces(path)
    places.path = path
    fill(places)
    places.close()


def fill_folders_tags_keywords(places):
    """Folders, links and separators in every root, a tag, a keyword and an
    item annotation: all of it must stay as it is when an export is added."""
    places.link(MENU, "Menu link", "https://example.org/menu")
    work = places.folder(MENU, "Work")
    places.link(work, "Keyworded", "https://example.org/search?q=%s")
    places.separator(work)
    deep = places.folder(work, "Deep")
    places.link(deep, "Deep link", "http://example.com/deep")
    places.link(TOOLBAR, "Toolbar link", "http://example.com/toolbar")
    places.link(UNFILED, "Unfiled link", "http://example.com/unfiled")
    places.folder(UNFILED, "Old")
    places.tag("news", "https://example.org/menu")
    places.keyword("kw", "https://example.org/search?q=%s")
    places.annotate(work, "bookmarkProperties/description", "Work things")


def fill_existing_addresses(places):
    """Addresses already there: one bookmarked, one only visited (history)."""
    places.link(UNFILED, "Shared", "http://example.com/shared")
    places.place("http://example.com/visited", visits=3, frecency=200)


if __name__ == "__main__":
    make_nested_database()
    make_unmerged_wal_database()
    make_held_write_database()
    make_parent_cycle_database()
    make_links_without_address_database()
    make_foreign_database()
    make_chromium_files()
    make_firefox_backups()
    make_profile_database("firefox-86-empty.sqlite", lambda places: None)
    make_profile_database("firefox-86-folders-tags-keywords.sqlite", fill_folders_tags_keywords)
    make_profile_database("firefox-86-existing-addresses.sqlite", fill_existing_addresses)
