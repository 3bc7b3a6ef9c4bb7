#!/usr/bin/env python3
"""Baseline for bench/run.sh: opens and reads every .url file below a
Favorites folder, takes the address from each, and prints the counts."""

import os
import sys


def main():
    folders = links = 0
    pending = [sys.argv[1]]
    while pending:
        with os.scandir(pending.pop()) as entries:
            for entry in entries:
                if entry.is_dir(follow_symlinks=False):
                    folders += 1
                    pending.append(entry.path)
                elif ".url" in entry.name.lower() and entry.is_file():
                    with open(entry.path, "rb") as f:
                        for line in f.read().splitlines():
                            if line[:4].upper() == b"URL=":
                                break
                    links += 1
    print("%d folders, %d links" % (folders, links))


if __name__ == "__main__":
    main()
