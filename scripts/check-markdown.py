#!/usr/bin/env python3
"""Reads Markdown files for the marks that a code formatter leaves in prose,
and checks that a code block quoting a file holds that file's text, that
relative links lead somewhere and that the version users are told to
depend on is the build's.

  scripts/check-markdown.py            every Markdown file that git tracks
  scripts/check-markdown.py FILE...    these files

The marks: a heading glued to its hashes ("#Title"); an opening fence with
text after its language ("```sh scripts"); " / " inside a path in inline
code ("`scripts / run.sh`"); a table squeezed onto one line (a separator
row with cells or text beside it, or separator cells broken up, "-- -").
A fenced block right after a line ending in "(`PATH`):", PATH a file name
with an extension, must be the text of that file (PATH relative to the top
of the repository).

A link or image to a relative path must name a file or folder that exists
(relative to the Markdown file), and a "#anchor" on a Markdown file (or
alone, on the file itself) must be one of that file's headings as GitHub
makes anchors of them. Every ```xml block's <dependency> on groupId
org.varnoth, and every "org.varnoth:ARTIFACT:VERSION", must carry the
<revision> of pom.xml; with no files named, so must examples/pom.xml's
<varnoth.version>.

Prints FILE:LINE: what, for each finding; exits 1 if there is one.
"""
import os
import re
import subprocess
import sys
import urllib.parse

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

FENCE = re.compile(r"^\s*(`{3,}|~{3,})(.*)$")
LANGUAGE = re.compile(r"^[\w+#.-]*$")
GLUED_HEADING = re.compile(r"^\s*#{1,6}(?:[^\s#!]|\s+#)")
INLINE_CODE = re.compile(r"`([^`\n]+)`")
SPACED_SLASH = re.compile(r"(?<![\w.-])[a-z][\w.-]+ / [A-Za-z][\w.-]+")
SEPARATOR_CELL = re.compile(r"\|\s*:?-{2,}[-\s]*:?\s*\|")
SEPARATOR_ROW = re.compile(r"^\|?(\s*:?-{3,}:?\s*\|)*\s*:?-{3,}:?\s*\|?$")
QUOTED_FILE = re.compile(r"\(`([\w./-]+\.\w+)`\):\s*$")
LINK = re.compile(r"!?\[[^\]]*\]\(\s*<?([^()\s>]+)>?(?:\s+\"[^\"]*\")?\s*\)")
SCHEME = re.compile(r"^[A-Za-z][A-Za-z0-9+.-]*:")
HEADING = re.compile(r"^\s{0,3}(#{1,6})\s+(.*?)(?:\s+#+)?\s*$")
DEPENDENCY = re.compile(r"<dependency>(.*?)</dependency>", re.S)
COORDINATES = re.compile(r"\borg\.varnoth:[\w.-]+:([\w.-]+)")


def revision():
    """The project's version, <revision> in the parent pom.xml (None if unreadable)."""
    try:
        with open(os.path.join(ROOT, "pom.xml"), encoding="utf-8") as f:
            match = re.search(r"<revision>\s*([^<\s]+)\s*</revision>", f.read())
    except OSError:
        return None
    return match.group(1) if match else None


REVISION = revision()


def findings(path, text):
    """Yields (line number, what) for each mark in one Markdown text."""
    lines = text.split("\n")
    fence = None          # the fence that opened the block we are in
    block_start = 0
    quoted = None         # the file the block being read must hold
    language = ""
    previous = ""
    for number, line in enumerate(lines, 1):
        match = FENCE.match(line)
        if fence is None or not (match and match.group(1).startswith(fence)):
            for version in COORDINATES.findall(line):
                if version != REVISION:
                    yield number, "org.varnoth version %s, not pom.xml's <revision>" % version
        if fence is not None:
            if match and match.group(1).startswith(fence) and not match.group(2).strip():
                if quoted is not None:
                    yield from quote_findings(block_start, quoted, lines[block_start:number - 1])
                if language == "xml":
                    yield from version_findings(block_start, lines[block_start:number - 1])
                fence, quoted = None, None
            continue
        if match:
            fence, info = match.group(1), match.group(2).strip()
            block_start = number
            language = info.lower()
            if not LANGUAGE.match(info):
                yield number, "an opening fence with text after its language"
            quoted_match = QUOTED_FILE.search(previous)
            quoted = quoted_match.group(1) if quoted_match else None
            continue
        if line.strip():
            previous = line
        for target in LINK.findall(INLINE_CODE.sub("", line)):
            what = link_finding(path, text, target)
            if what:
                yield number, what
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


def version_findings(line, block):
    """Yields a finding for each dependency on org.varnoth in an XML block
    whose version is not the project's."""
    text = "\n".join(block)
    for dependency in DEPENDENCY.finditer(text):
        if not re.search(r"<groupId>\s*org\.varnoth\s*</groupId>", dependency.group(1)):
            continue
        version = re.search(r"<version>\s*([^<\s]*)\s*</version>", dependency.group(1))
        if version is None:
            at = line + 1 + text.count("\n", 0, dependency.start())
            yield at, "a dependency on org.varnoth without a <version>"
        elif version.group(1) != REVISION:
            at = line + 1 + text.count("\n", 0, dependency.start(1) + version.start())
            yield at, "a dependency on org.varnoth of version %s, not pom.xml's <revision>" % (
                version.group(1))


def anchors(text):
    """The anchors GitHub gives the headings of a Markdown text."""
    seen = {}
    result = set()
    fence = None
    for line in text.split("\n"):
        match = FENCE.match(line)
        if fence is not None:
            if match and match.group(1).startswith(fence) and not match.group(2).strip():
                fence = None
            continue
        if match:
            fence = match.group(1)
            continue
        heading = HEADING.match(line)
        if not heading:
            continue
        words = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", heading.group(2))
        slug = re.sub(r"[^\w\- ]", "", words.lower()).replace(" ", "-")
        count = seen.get(slug, 0)
        seen[slug] = count + 1
        result.add(slug if count == 0 else "%s-%d" % (slug, count))
    return result


def link_finding(path, text, target):
    """What is wrong with a link from the Markdown file path (text its
    contents) to target, or None."""
    if SCHEME.match(target):
        return None
    name, _, anchor = target.partition("#")
    name = urllib.parse.unquote(name)
    if name:
        if name.startswith("/"):
            return "a link to an absolute path: %s" % target
        file = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(path)), name))
        if not os.path.exists(file):
            return "a link to %s, which does not exist" % name
    else:
        file = os.path.abspath(path)
    if not anchor or os.path.isdir(file) or (name and not file.endswith(".md")):
        return None
    if file != os.path.abspath(path):
        with open(file, encoding="utf-8") as f:
            text = f.read()
    if anchor not in anchors(text):
        return "a link to #%s, a heading %s lacks" % (anchor, name or "this file")
    return None


def examples_findings():
    """Yields (path, line, what) unless examples/pom.xml builds against the
    project's version."""
    path = os.path.join(ROOT, "examples", "pom.xml")
    try:
        with open(path, encoding="utf-8") as f:
            lines = f.read().split("\n")
    except OSError:
        return
    for number, line in enumerate(lines, 1):
        match = re.search(r"<varnoth\.version>\s*([^<\s]*)\s*</varnoth\.version>", line)
        if match and match.group(1) != REVISION:
            yield path, number, "<varnoth.version> %s, not pom.xml's <revision>" % match.group(1)


def tracked_markdown():
    out = subprocess.run(["git", "-C", ROOT, "ls-files", "-z", "--", "*.md"],
                         check=True, capture_output=True).stdout.decode()
    return [os.path.join(ROOT, p) for p in out.split("\0") if p]


def main(argv):
    paths = argv[1:] or tracked_markdown()
    count = 0
    if REVISION is None:
        print("pom.xml: no <revision> to check versions against")
        count += 1
    for path in paths:
        with open(path, encoding="utf-8") as f:
            text = f.read()
        for number, what in findings(path, text):
            print("%s:%d: %s" % (os.path.relpath(path), number, what))
            count += 1
    if not argv[1:]:
        for path, number, what in examples_findings():
            print("%s:%d: %s" % (os.path.relpath(path), number, what))
            count += 1
    if count:
        print("check-markdown: %d finding(s) in %d file(s)" % (count, len(paths)), file=sys.stderr)
        return 1
    print("check-markdown: %d Markdown file(s), no formatter's marks, broken links or other"
          " versions" % len(paths))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
