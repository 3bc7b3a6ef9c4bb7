#!/usr/bin/env python3
"""Makes the Chromium profile fixtures in this folder with Debian's Chromium.

Each fixture is a profile folder. Its files are written by Chromium itself:
a "Bookmarks" file without GUIDs makes Chromium give each node one when it
loads the profile, and it then saves the whole file again, with its own
checksum, layout and escaping. Run headless with a timeout, it loads the
profile, opens about:blank and quits.

  filled/         the bookmarks bar and the other bookmarks filled: nested
                  folders, emoji, CJK, "<" and quotes in names
  account-only/   the same file saved as "AccountBookmarks" only, as a
                  signed-in profile keeps the account's bookmarks
  account-empty/  the "AccountBookmarks" Chromium makes with empty roots,
                  beside a filled "Bookmarks"
  high-ids/       ids near the top of the 64-bit range

The generated files are committed, so the tests never run this.
"""
import json
import pathlib
import shutil
import subprocess
import tempfile

HERE = pathlib.Path(__file__).resolve().parent
CHROMIUM = "/usr/bin/chromium"
FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--dump-dom"]
DATE = "13300000000000000"


class Ids:
    def __init__(self, first):
        self.next = first

    def take(self):
        self.next += 1
        return str(self.next - 1)


def link(ids, name, url):
    return {"id": ids.take(), "name": name, "type": "url", "url": url, "date_added": DATE}


def folder(ids, name, children):
    return {"id": ids.take(), "name": name, "type": "folder", "children": children,
            "date_added": DATE, "date_modified": "0"}


def document(first_id):
    ids = Ids(first_id)
    bar = folder(ids, "Bookmarks bar", [
        link(ids, "Emoji 😀 <b> & \"quoted\"", "https://example.com/emoji?a=1&b=2"),
        folder(ids, "日本語のフォルダ", [
            link(ids, "東京 – Tōkyō", "https://example.jp/%E6%9D%B1"),
            folder(ids, "Deeper", [link(ids, "Deep link", "http://example.com/deep")]),
        ]),
        folder(ids, "Empty", []),
    ])
    other = folder(ids, "Other bookmarks", [
        link(ids, "Ünïcode Ω", "http://example.org/%C3%BC"),
        folder(ids, "Work 👷", [link(ids, "Intranet", "http://intranet.example/")]),
    ])
    synced = folder(ids, "Mobile bookmarks", [])
    return {"roots": {"bookmark_bar": bar, "other": other, "synced": synced}, "version": 1}


def chromium_saves(doc, account_too=False):
    """The profile files Chromium leaves after loading doc as Bookmarks."""
    with tempfile.TemporaryDirectory() as user_data:
        profile = pathlib.Path(user_data) / "Default"
        profile.mkdir()
        (profile / "Bookmarks").write_text(json.dumps(doc, ensure_ascii=False), "utf-8")
        subprocess.run(["timeout", "60", CHROMIUM, *FLAGS, f"--user-data-dir={user_data}",
                        "about:blank"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       check=True)
        saved = {"Bookmarks": (profile / "Bookmarks").read_bytes()}
        if account_too:
            saved["AccountBookmarks"] = (profile / "AccountBookmarks").read_bytes()
        return saved


def write_profile(name, files):
    folder_path = HERE / name
    shutil.rmtree(folder_path, ignore_errors=True)
    folder_path.mkdir()
    for file_name, content in files.items():
        (folder_path / file_name).write_bytes(content)


def main():
    filled = chromium_saves(document(4), account_too=True)
    write_profile("filled", {"Bookmarks": filled["Bookmarks"]})
    write_profile("account-only", {"AccountBookmarks": filled["Bookmarks"]})
    write_profile("account-empty", filled)
    high = chromium_saves(document(9_223_372_036_854_775_790))
    write_profile("high-ids", high)


if __name__ == "__main__":
    main()
