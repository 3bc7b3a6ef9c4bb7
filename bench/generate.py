#!/usr/bin/env python3
"""Writes a realistic bookmark collection of N links in one of the three stores.

  netscape   a bookmarks.html as Firefox exports it: 4-space indentation,
             ADD_DATE / LAST_MODIFIED on every item, ICON_URI and ICON data on
             a share of the links, <DD> descriptions, <HR> separators followed
             on the same line by the next item, and the "Bookmarks Toolbar"
             and "Other Bookmarks" folders last
  opera      an Opera 12 hotlist: CR LF, tab-indented ID / NAME / URL /
             CREATED / UNIQUEID fields, the Trash folder first, a few
             #SEPERATOR entries
  favorites  an Internet Explorer Favorites folder: one directory per folder
             and one CR LF .url file per link
  chromium   a Chromium "Bookmarks" file as the browser writes it: JSON with
             3-space indentation, keys in alphabetical order (a folder's
             "children" before its name), dates in microseconds since 1601
             as strings, a guid and an id on every node, "meta_info" and
             "date_last_used" on a share of the links, "<" written as
             \u003C; the tree in the bookmarks bar, "other" and "synced"
             empty

The folders form a tree with --fanout sub-folders per folder, --depth levels
deep (by default deep enough for about 100 links a folder, so collections of
every size have folders of the same size); the links are spread over every
folder. A share (--non-ascii) of the
names holds accented, Cyrillic, Greek and CJK words. The same arguments and
--seed always give the same bytes.

Prints one JSON line: the format, the number of folders and links a reader
must find, and the bytes written.
"""

import argparse
import base64
import json
import os
import random
import sys

WORDS = """
news weather sport travel maps music video photo recipe garden home office
shop store market bank finance tax health fitness yoga science space physics
history art design code python linux kernel compiler docs manual guide blog
forum wiki search mail calendar notes tasks project team school course lesson
library book review movie series game chess football tennis cycling hiking
city hotel flight train ferry camping beach mountain river lake forest museum
gallery concert theatre opera jazz rock radio podcast podcasts daily weekly
monthly archive reference dictionary atlas almanac tools utilities downloads
drivers updates support help contact about careers jobs housing rentals cars
bikes parts repair hardware software cloud server network security privacy
""".split()

NON_ASCII_WORDS = """
café crème brûlée garçon naïve façade déjà über Straße Größe Müller Zürich
Ålesund smørrebrød São Paulo año niño Łódź źródło gęś Praha Čeština
Москва новости погода Κρήτη ειδήσεις 東京 天気 ニュース 北京 新闻 서울 뉴스
€uro 50€ ™ «guillemets» ½ ¿qué? ¡olé!
""".split()

TLDS = ["com", "org", "net", "de", "fr", "it", "co.uk", "io", "info", "edu"]
SPECIAL = ["&", "'", '"', "<", ">", "&amp;", "(", ")", "-", ":"]

ADD_DATE_FIRST = 1262304000  # 2010-01-01
ADD_DATE_LAST = 1700000000


class Collection:
    """Deterministic names, addresses and dates for one run."""

    def __init__(self, seed, non_ascii):
        self.rng = random.Random(seed)
        self.non_ascii = non_ascii
        self.icons = [self._icon() for _ in range(40)]

    def _icon(self):
        size = self.rng.randrange(200, 700)
        raw = bytes(self.rng.getrandbits(8) for _ in range(size))
        return "data:image/png;base64," + base64.b64encode(raw).decode("ascii")

    def name(self):
        rng = self.rng
        words = [rng.choice(WORDS) for _ in range(rng.randrange(1, 5))]
        if rng.random() < self.non_ascii:
            words.insert(rng.randrange(len(words) + 1), rng.choice(NON_ASCII_WORDS))
        if rng.random() < 0.02:
            words.insert(rng.randrange(len(words) + 1), rng.choice(SPECIAL))
        words[0] = words[0].capitalize()
        return " ".join(words)

    def host(self):
        rng = self.rng
        return "www.%s%s.%s" % (rng.choice(WORDS), rng.choice(WORDS), rng.choice(TLDS))

    def url(self, host):
        rng = self.rng
        url = "https://" + host + "".join("/" + rng.choice(WORDS)
                                          for _ in range(rng.randrange(0, 4)))
        if rng.random() < 0.5:
            url += "/%d" % rng.randrange(1, 10_000_000)
        if rng.random() < 0.2:
            url += "?id=%d&ref=%s" % (rng.randrange(100_000), rng.choice(WORDS))
        return url

    def date(self):
        return self.rng.randrange(ADD_DATE_FIRST, ADD_DATE_LAST)

    def unique_id(self):
        return "%032X" % self.rng.getrandbits(128)


def spread(rng, total, buckets):
    """total split over buckets, each share between half and one and a half
    times the mean, summing exactly to total."""
    weights = [rng.uniform(0.5, 1.5) for _ in range(buckets)]
    scale = total / sum(weights)
    counts = [int(w * scale) for w in weights]
    for i in range(total - sum(counts)):
        counts[i % buckets] += 1
    return counts


def folder_count(fanout, depth):
    return sum(fanout ** level for level in range(1, depth + 1))


class Walk:
    """Walks the planned tree in file order and tells a writer what to emit.

    The root holds links and `fanout` folders; every folder above the
    deepest level holds `fanout` more. `extra_top` leaf folders (the
    browser's own) follow the root's last item."""

    def __init__(self, collection, links, fanout, depth, extra_top):
        self.c = collection
        self.fanout = fanout
        self.depth = depth
        self.extra_top = extra_top
        planned = 1 + folder_count(fanout, depth) + len(extra_top)
        self.counts = iter(spread(collection.rng, links, planned))
        self.folders = 0
        self.links = 0

    def run(self, writer):
        self._contents(writer, level=0)
        for name in self.extra_top:
            self.folders += 1
            writer.begin_folder(name, special=name)
            self._contents(writer, level=self.depth)
            writer.end_folder()

    def _contents(self, writer, level):
        rng = self.c.rng
        links = next(self.counts)
        folders = self.fanout if level < self.depth else 0
        # Folders sit among the links, as users file them.
        folder_at = set(rng.sample(range(links + folders), folders))
        host = self.c.host()
        previous = None
        for position in range(links + folders):
            if rng.random() < 0.01:
                writer.separator()
            if position in folder_at:
                self.folders += 1
                writer.begin_folder(self.c.name())
                self._contents(writer, level + 1)
                writer.end_folder()
                continue
            if rng.random() < 0.3:
                host = self.c.host()
            # Now and then the same page is bookmarked twice under one name.
            name = previous if previous and rng.random() < 0.01 else self.c.name()
            previous = name
            self.links += 1
            writer.link(name, self.c.url(host), host)


def escape_html(text):
    return (text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
            .replace('"', "&quot;").replace("'", "&#39;"))


class NetscapeWriter:
    own_folders = 0  # the toolbar and Other Bookmarks are planned by the walk
    HEADER = (
        "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
        "<!-- This is an automatically generated file.\n"
        "     It will be read and overwritten.\n"
        "     DO NOT EDIT! -->\n"
        '<META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=UTF-8">\n'
        '<meta http-equiv="Content-Security-Policy"\n'
        "      content=\"default-src 'self'; script-src 'none'; img-src data: *; "
        "object-src 'none'\"></meta>\n"
        "<TITLE>Bookmarks</TITLE>\n"
        "<H1>Bookmarks Menu</H1>\n"
        "\n"
        "<DL><p>\n"
    )
    SPECIAL_ATTRIBUTE = {
        "Bookmarks Toolbar": ' PERSONAL_TOOLBAR_FOLDER="true"',
        "Other Bookmarks": ' UNFILED_BOOKMARKS_FOLDER="true"',
    }

    def __init__(self, out, collection, icon_share):
        self.out = out
        self.c = collection
        self.icon_share = icon_share
        self.indent = "    "
        self.pending_hr = ""
        out.write(self.HEADER)

    def _line(self, text):
        self.out.write(self.pending_hr + self.indent + text + "\n")
        self.pending_hr = ""

    def separator(self):
        # Firefox writes no line end after <HR>: the next item follows on
        # the same line.
        self.out.write(self.pending_hr)
        self.pending_hr = self.indent + "<HR>"

    def begin_folder(self, name, special=None):
        added = self.c.date()
        attributes = self.SPECIAL_ATTRIBUTE.get(special, "")
        self._line('<DT><H3 ADD_DATE="%d" LAST_MODIFIED="%d"%s>%s</H3>'
                   % (added, added + 3600, attributes, escape_html(name)))
        self._line("<DL><p>")
        self.indent += "    "

    def end_folder(self):
        self.indent = self.indent[:-4]
        self._line("</DL><p>")

    def link(self, name, url, host):
        rng = self.c.rng
        added = self.c.date()
        attributes = 'HREF="%s" ADD_DATE="%d" LAST_MODIFIED="%d"' % (
            url.replace('"', "%22"), added, added + rng.randrange(0, 86400))
        if rng.random() < self.icon_share:
            attributes += ' ICON_URI="https://%s/favicon.ico" ICON="%s"' % (
                host, rng.choice(self.c.icons))
        if rng.random() < 0.02:
            attributes += ' SHORTCUTURL="%s"' % rng.choice(WORDS)
        if rng.random() < 0.05:
            attributes += ' TAGS="%s,%s"' % (rng.choice(WORDS), rng.choice(WORDS))
        self._line("<DT><A %s>%s</A>" % (attributes, escape_html(name)))
        if rng.random() < 0.03:
            self._line("<DD>%s" % escape_html(self.c.name()))

    def finish(self):
        self.out.write("</DL>\n")


class OperaWriter:
    own_folders = 1  # the Trash, read like any other folder
    def __init__(self, out, collection):
        self.out = out
        self.c = collection
        self.next_id = 1
        out.write("Opera Hotlist version 2.0\r\n"
                  "Options: encoding = utf8, version=3\r\n\r\n")
        self._entry("#FOLDER", [("NAME", "Trash"), ("CREATED", self.c.date()),
                                ("TRASH FOLDER", "YES")])
        out.write("-\r\n\r\n")

    def _entry(self, tag, fields):
        lines = [tag, "\tID=%d" % self.next_id]
        self.next_id += 1
        lines += ["\t%s=%s" % field for field in fields]
        lines.append("\tUNIQUEID=" + self.c.unique_id())
        self.out.write("\r\n".join(lines) + "\r\n\r\n")

    def separator(self):
        lines = "#SEPERATOR\r\n\tID=%d\r\n\tUNIQUEID=%s\r\n\r\n"
        self.out.write(lines % (self.next_id, self.c.unique_id()))
        self.next_id += 1

    def begin_folder(self, name, special=None):
        fields = [("NAME", name), ("CREATED", self.c.date())]
        if self.c.rng.random() < 0.3:
            fields.append(("EXPANDED", "YES"))
        self._entry("#FOLDER", fields)

    def end_folder(self):
        self.out.write("-\r\n\r\n")

    def link(self, name, url, host):
        rng = self.c.rng
        created = self.c.date()
        fields = [("NAME", name), ("URL", url), ("CREATED", created)]
        if rng.random() < 0.4:
            fields.append(("VISITED", created + rng.randrange(0, 10_000_000)))
        if rng.random() < 0.03:
            fields.append(("DESCRIPTION", self.c.name()))
        self._entry("#URL", fields)

    def finish(self):
        pass


class ChromiumWriter:
    own_folders = 1  # the bookmarks bar
    MICROS_FROM_1601 = 11_644_473_600 * 1_000_000

    def __init__(self, out, collection):
        self.out = out
        self.c = collection
        self.next_id = 4
        self.open = []  # per open folder: its name, date and whether it has items yet
        out.write('{\n   "checksum": "%032x",\n   "roots": {\n      "bookmark_bar": {\n'
                  '         "children": [ ' % self.c.rng.getrandbits(128))
        self.open.append(["Bookmarks bar", self.c.date(), False])

    def _indent(self):
        return "   " * (3 + 2 * len(self.open))

    def _text(self, text):
        return json.dumps(text, ensure_ascii=False).replace("<", "\\u003C")

    def _guid(self):
        value = "%032x" % self.c.rng.getrandbits(128)
        return "%s-%s-%s-%s-%s" % (value[:8], value[8:12], value[12:16], value[16:20], value[20:])

    def _chrome_time(self, seconds):
        return '"%d"' % (seconds * 1_000_000 + self.MICROS_FROM_1601 + self.c.rng.randrange(1_000_000))

    def _item_start(self):
        top = self.open[-1]
        self.out.write(", " if top[2] else "")
        top[2] = True
        self.out.write("{\n")

    def _fields(self, fields, indent):
        self.out.write(",\n".join('%s"%s": %s' % (indent, key, value) for key, value in fields))

    def _next_id(self):
        self.next_id += 1
        return '"%d"' % self.next_id

    def separator(self):
        pass

    def begin_folder(self, name, special=None):
        self._item_start()
        self.open.append([name, self.c.date(), False])
        self.out.write('%s"children": [ ' % self._indent()[3:])

    def _close_folder(self):
        name, added, _ = self.open.pop()
        indent = self._indent() + "   "
        self.out.write(" ],\n")
        self._fields([("date_added", self._chrome_time(added)), ("date_last_used", '"0"'),
                      ("date_modified", self._chrome_time(added + 3600)),
                      ("guid", '"%s"' % self._guid()), ("id", self._next_id()),
                      ("name", self._text(name)), ("type", '"folder"')], indent)
        self.out.write("\n%s}" % self._indent())

    def end_folder(self):
        self._close_folder()

    def link(self, name, url, host):
        rng = self.c.rng
        self._item_start()
        added = self.c.date()
        fields = [("date_added", self._chrome_time(added))]
        fields.append(("date_last_used", self._chrome_time(added + rng.randrange(0, 10_000_000))
                       if rng.random() < 0.4 else '"0"'))
        fields += [("guid", '"%s"' % self._guid()), ("id", self._next_id())]
        indent = self._indent() + "   "
        if rng.random() < 0.2:
            fields.append(("meta_info", '{\n%s   "power_bookmark_meta": ""\n%s}'
                           % (indent, indent)))
        fields += [("name", self._text(name)), ("type", '"url"'), ("url", self._text(url))]
        self._fields(fields, indent)
        self.out.write("\n%s}" % self._indent())

    def finish(self):
        self._close_folder()
        for key, name in (("other", "Other bookmarks"), ("synced", "Mobile bookmarks")):
            self.out.write(',\n      "%s": {\n         "children": [  ],\n' % key)
            self.open.append([name, self.c.date(), False])
            self.open.pop()
            self._fields([("date_added", self._chrome_time(self.c.date())),
                          ("date_last_used", '"0"'), ("date_modified", '"0"'),
                          ("guid", '"%s"' % self._guid()), ("id", self._next_id()),
                          ("name", self._text(name)), ("type", '"folder"')], "         ")
            self.out.write("\n      }")
        self.out.write('\n   },\n   "version": 1\n}\n')


class FavoritesWriter:
    own_folders = 0
    FORBIDDEN = str.maketrans({c: "_" for c in '\\/:*?"<>|'})

    def __init__(self, root, collection):
        self.c = collection
        self.stack = [root]
        self.used = [set()]
        self.bytes = 0
        os.makedirs(root, exist_ok=True)

    def _file_name(self, name, suffix):
        """The name as Windows would accept it, numbered " (2)" on a clash."""
        base = name.translate(self.FORBIDDEN).strip(" .")[:100] or "Untitled"
        used = self.used[-1]
        candidate, number = base, 1
        while (candidate + suffix).lower() in used:
            number += 1
            candidate = "%s (%d)" % (base, number)
        used.add((candidate + suffix).lower())
        return candidate + suffix

    def separator(self):
        pass

    def begin_folder(self, name, special=None):
        path = os.path.join(self.stack[-1], self._file_name(name, ""))
        os.mkdir(path)
        self.stack.append(path)
        self.used.append(set())

    def end_folder(self):
        self.stack.pop()
        self.used.pop()

    def link(self, name, url, host):
        rng = self.c.rng
        lines = []
        if rng.random() < 0.7:
            lines += ["[{000214A0-0000-0000-C000-000000000046}]", "Prop3=19,11"]
        lines += ["[InternetShortcut]", "IDList=", "URL=" + url]
        if rng.random() < 0.5:
            lines += ["IconFile=https://%s/favicon.ico" % host, "IconIndex=1"]
        data = ("\r\n".join(lines) + "\r\n").encode("utf-8")
        with open(os.path.join(self.stack[-1], self._file_name(name, ".url")), "wb") as f:
            f.write(data)
        self.bytes += len(data)

    def finish(self):
        pass


def count_argument(text):
    """10000, 10k or 1M."""
    factor = {"k": 1_000, "m": 1_000_000}.get(text[-1:].lower(), 1)
    return int(text[:-1] if factor > 1 else text) * factor


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("format", choices=["netscape", "opera", "favorites", "chromium"])
    parser.add_argument("--links", type=count_argument, required=True,
                        help="number of links (10000, 10k, 1M)")
    parser.add_argument("--fanout", type=int, default=10, help="sub-folders per folder")
    parser.add_argument("--depth", type=int,
                        help="levels of folders (default: enough for about 100 links a folder)")
    parser.add_argument("--non-ascii", type=float, default=0.2,
                        help="share of names with non-ASCII characters")
    parser.add_argument("--icons", type=float, default=0.09,
                        help="share of Netscape links with an ICON data address")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--out", required=True, help="file, or directory for favorites")
    args = parser.parse_args()

    if args.depth is None:
        args.depth = 1
        while folder_count(args.fanout, args.depth) * 100 < args.links:
            args.depth += 1
    collection = Collection(args.seed, args.non_ascii)
    extra = ["Bookmarks Toolbar", "Other Bookmarks"] if args.format == "netscape" else []
    walk = Walk(collection, args.links, args.fanout, args.depth, extra)

    if args.format == "favorites":
        writer = FavoritesWriter(args.out, collection)
        walk.run(writer)
        size = writer.bytes
    else:
        newline = "" if args.format == "opera" else "\n"
        with open(args.out, "w", encoding="utf-8", newline=newline,
                  buffering=1 << 20) as out:
            if args.format == "netscape":
                writer = NetscapeWriter(out, collection, args.icons)
            elif args.format == "chromium":
                writer = ChromiumWriter(out, collection)
            else:
                writer = OperaWriter(out, collection)
            walk.run(writer)
            writer.finish()
        size = os.path.getsize(args.out)

    folders = walk.folders + writer.own_folders
    json.dump({"format": args.format, "folders": folders, "links": walk.links,
               "bytes": size}, sys.stdout)
    print()


if __name__ == "__main__":
    main()
