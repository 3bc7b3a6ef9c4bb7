#!/usr/bin/env python3
"""Writes the Safari Bookmarks.plist fixtures of this folder with plistlib.

Run from anywhere; the files land beside this script. Each file shows one
shape that Safari's own files take (or, for the untyped one, that other
programs write), so the reader's tests can compare whole trees."""

import datetime
import pathlib
import plistlib

HERE = pathlib.Path(__file__).resolve().parent


def leaf(title, url, **extra):
    node = {"WebBookmarkType": "WebBookmarkTypeLeaf", "URLString": url,
            "URIDictionary": {"title": title}, "WebBookmarkUUID": "L-" + title}
    node.update(extra)
    return node


def folder(title, children=None):
    node = {"WebBookmarkType": "WebBookmarkTypeList", "Title": title,
            "WebBookmarkUUID": "F-" + title}
    if children is not None:
        node["Children"] = children
    return node


def root(children=None):
    node = {"WebBookmarkType": "WebBookmarkTypeList", "Title": "",
            "WebBookmarkFileVersion": 1, "Sync": {"ServerData": b"\x00\x01"}}
    if children is not None:
        node["Children"] = children
    return node


# plistlib writes a naive datetime as UTC.
added = datetime.datetime(2016, 3, 4, 5, 6, 7)

nested = root([
    {"WebBookmarkType": "WebBookmarkTypeProxy", "Title": "History",
     "WebBookmarkIdentifier": "History"},
    folder("BookmarksBar", [
        leaf("Apple", "https://www.apple.com/"),
        folder("Popular", [leaf("Wiki — “quotes” …", "https://wiki.example/»")]),
    ]),
    folder("BookmarksMenu", [leaf("Menu link", "https://menu.example/")]),
    leaf("Google", "https://www.google.com/?client=safari&channel=mac_bm"),
    folder("Projects", [
        folder("Deep", [leaf("File", "file:///Users/ann/notes.txt")]),
        {"WebBookmarkType": "WebBookmarkTypeLeaf", "Title": "No address"},
        {"WebBookmarkType": "WebBookmarkTypeStrange", "Title": "Odd"},
    ]),
    folder("com.apple.ReadingList", [
        leaf("Later", "https://later.example/",
             ReadingList={"DateAdded": added, "PreviewText": "Some text"},
             imageURL="https://later.example/i.png"),
        leaf("Undated", "https://undated.example/", ReadingList={}),
    ]),
])

untyped = {"Children": [
    {"Title": "com.apple.ReadingList", "Children": [
        {"URLString": "https://example.com/page1", "URIDictionary": {"title": "Page 1"},
         "ReadingList": {"PreviewText": "Preview"}},
    ]},
    {"Title": "Loose", "Children": [{"URLString": "https://loose.example/"}]},
]}

reading_list_without_children = root([
    folder("BookmarksBar", [leaf("Bing", "https://www.bing.com/")]),
    folder("BookmarksMenu", []),
    folder("com.apple.ReadingList"),
])

FILES = {
    "nested-binary.plist": (nested, plistlib.FMT_BINARY),
    "nested-xml.plist": (nested, plistlib.FMT_XML),
    "untyped-xml.plist": (untyped, plistlib.FMT_XML),
    "reading-list-without-children.plist": (reading_list_without_children, plistlib.FMT_BINARY),
    "root-without-children.plist": (root(), plistlib.FMT_BINARY),
    "array-at-top.plist": ([1, 2], plistlib.FMT_BINARY),
}

for name, (value, form) in FILES.items():
    (HERE / name).write_bytes(plistlib.dumps(value, fmt=form, sort_keys=False))
