#!/usr/bin/env python3
"""Turns a tree of HTML documentation into a help folder the viewer opens.

    html_tree_vlp.py SOURCE_DIR OUT_DIR [--title TEXT]

Every *.html or *.htm page under SOURCE_DIR is copied into OUT_DIR, flattened: the page
library/os.html becomes library-os.html, since the search lists one folder only. help.vlp gets
one Contents book per source folder, a page per file titled by its <title>, and an Index entry
per title. Links between pages are left as they are: the benchmark searches text, it does not
follow links. Used for Debian's python3.11-doc pages (/usr/share/doc/python3.11/html).

Standard library only.
"""

import argparse
import html
import os
import re
import shutil
import sys

from gen_search_corpus import settings  # the same settings as the generated folder

TITLE = re.compile(rb"<title[^>]*>(.*?)</title>", re.IGNORECASE | re.DOTALL)


def page_title(path, fallback):
    with open(path, "rb") as f:
        head = f.read(16384)
    found = TITLE.search(head)
    if not found:
        return fallback
    text = html.unescape(found.group(1).decode("utf-8", "replace"))
    text = " ".join(text.split())
    # "@" and "*" end a record's fields in the project file.
    return text.replace("@", " ").replace("*", " ") or fallback


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("source_dir")
    parser.add_argument("out_dir")
    parser.add_argument("--title", default="Documentation")
    args = parser.parse_args()

    source = os.path.abspath(args.source_dir)
    os.makedirs(args.out_dir, exist_ok=True)
    books = {}  # folder relative to source -> [(flat name, title)]
    total = 0
    for root, dirs, files in os.walk(source):
        dirs.sort()
        rel = os.path.relpath(root, source)
        for name in sorted(files):
            if not name.lower().endswith((".html", ".htm")):
                continue
            path = os.path.join(root, name)
            flat = name if rel == "." else rel.replace(os.sep, "-") + "-" + name
            shutil.copyfile(path, os.path.join(args.out_dir, flat))
            total += os.path.getsize(path)
            books.setdefault(rel, []).append((flat, page_title(path, name)))

    lines = []
    index = {}
    for rel in sorted(books):
        pages = books[rel]
        if rel == ".":
            parent = None
        else:
            # A book opens on its folder's first page.
            parent = len(lines)
            lines.append("[%d,R,0]%s@%s*" % (parent, rel.replace(os.sep, "/"), pages[0][0]))
        for flat, text in pages:
            kind, owner = ("P", parent) if parent is not None else ("R", 0)
            lines.append("[%d,%s,%d]%s@%s*" % (len(lines), kind, owner, text, flat))
            index.setdefault(text, flat)
    records = len(lines)
    lines.append("^")
    lines += settings(args.title, icon_file="")
    for key in sorted(index, key=lambda k: (k.lower(), k)):
        lines.append("%s@%s*" % (key, index[key]))
    lines.append("%")
    with open(os.path.join(args.out_dir, "help.vlp"), "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("utf-8"))
    pages = sum(len(p) for p in books.values())
    print("html_tree_vlp: %d pages, %.1f MB, %d Contents records, %d Index entries"
          % (pages, total / 1e6, records, len(index)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
