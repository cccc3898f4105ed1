#!/usr/bin/env python3
"""Reads Markdown files for the marks that a code formatter leaves in prose,
and checks that a code block quoting a file holds that file's text.

  scripts/check-markdown.py            every Markdown file that git tracks
  scripts/check-markdown.py FILE...    these files

The marks: a heading glued to its hashes ("#Title"); an opening fence with
text after its language ("```sh scripts"); " / " inside a path in inline
code ("`scripts / run.sh`"); a table squeezed onto one line (a separator
row with cells or text beside it, or separator cells broken up, "-- -").
A fenced block right after a line ending in "(`PATH`):", PATH a file name
with an extension, must be the text of that file (PATH relative to the top
of the repository).

Prints FILE:LINE: what, for each finding; exits 1 if there is one.
"""
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

FENCE = re.compile(r"^\s*(`{3,}|~{3,})(.*)$")
LANGUAGE = re.compile(r"^[\w+#.-]*$")
GLUED_HEADING = re.compile(r"^\s*#{1,6}(?:[^\s#!]|\s+#)")
INLINE_CODE = re.compile(r"`([^`\n]+)`")
SPACED_SLASH = re.compile(r"(?<![\w.-])[a-z][\w.-]+ / [A-Za-z][\w.-]+")
SEPARATOR_CELL = re.compile(r"\|\s*:?-{2,}[-\s]*:?\s*\|")
SEPARATOR_ROW = re.compile(r"^\|?(\s*:?-{3,}:?\s*\|)*\s*:?-{3,}:?\s*\|?$")
QUOTED_FILE = re.compile(r"\(`([\w./-]+\.\w+)`\):\s*$")


def findings(path, text):
    """Yields (line number, what) for each mark in one Markdown text."""
    lines = text.split("\n")
    fence = None          # the fence that opened the block we are in
    block_start = 0
    quoted = None         # the file the block being read must hold
    previous = ""
    for number, line in enumerate(lines, 1):
        match = FENCE.match(line)
        if fence is not None:
            if match and match.group(1).startswith(fence) and not match.group(2).strip():
                if quoted is not None:
                    yield from quote_findings(block_start, quoted, lines[block_start:number - 1])
                fence, quoted = None, None
            continue
        if match:
            fence, info = match.group(1), match.group(2).strip()
            block_start = number
            if not LANGUAGE.match(info):
                yield number, "an opening fence with text after its language"
            quoted_match = QUOTED_FILE.search(previous)
            quoted = quoted_match.group(1) if quoted_match else None
            continue
        if line.strip():
            previous = line
        if GLUED_HEADING.match(line):
            yield number, "a heading glued to its hashes"
        for span in INLINE_CODE.findall(line):
            if SPACED_SLASH.search(span):
                yield number, "' / ' inside a path: `%s`" % span
        if SEPARATOR_CELL.search(line) and not SEPARATOR_ROW.match(line.strip()):
            yield number, "a table squeezed onto one line"
    if fence is not None:
        yield block_start, "a code block that is never closed"


def quote_findings(line, path, block):
    """Yields a finding unless the block is the text of the file path."""
    try:
        with open(os.path.join(ROOT, path), encoding="utf-8") as f:
            expected = f.read()
    except OSError as e:
        yield line, "quotes %s, which cannot be read (%s)" % (path, e.strerror)
        return
    if "\n".join(block) + "\n" != expected:
        yield line, "quotes %s, but its text differs from that file" % path


def tracked_markdown():
    out = subprocess.run(["git", "-C", ROOT, "ls-files", "-z", "--", "*.md"],
                         check=True, capture_output=True).stdout.decode()
    return [os.path.join(ROOT, p) for p in out.split("\0") if p]


def main(argv):
    paths = argv[1:] or tracked_markdown()
    count = 0
    for path in paths:
        with open(path, encoding="utf-8") as f:
            text = f.read()
        for number, what in findings(path, text):
            print("%s:%d: %s" % (os.path.relpath(path), number, what))
            count += 1
    if count:
        print("check-markdown: %d finding(s) in %d file(s)" % (count, len(paths)), file=sys.stderr)
        return 1
    print("check-markdown: %d Markdown file(s), no formatter's marks" % len(paths))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
