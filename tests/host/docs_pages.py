#!/usr/bin/python3
"""Checks the documentation pages against the tree they describe.

    docs_pages.py SOURCE_DIR WORK_DIR

The pages are README.md, bench/README.md and docs/*.md. Every relative link must lead to a
file or folder that exists, and its #anchor to a heading of the page it names, by GitHub's
anchor rules. Every ```sh block right after the line <!-- runnable --> must succeed: it runs
with bash -e -o pipefail in a folder below WORK_DIR that links to each entry of SOURCE_DIR,
so that the files it writes stay there; WORK_DIR is removed afterwards. Prints one line per
fault, PAGE:LINE: what is wrong, and exits 1 when there is any.
"""
import os
import pathlib
import re
import shutil
import subprocess
import sys
import urllib.parse

RUNNABLE_MARK = "<!-- runnable -->"
FENCE = re.compile(r"^\s*(`{3,}|~{3,})\s*([^`\s]*)")
HEADING = re.compile(r"^#{1,6}\s+(.*?)\s*#*\s*$")
CODE_SPAN = re.compile(r"(`+).*?\1")
LINK = re.compile(r"!?\[[^\]]*\]\(\s*<?([^)\s>]+)>?(?:\s+\"[^\"]*\")?\s*\)")
SCHEME = re.compile(r"^[A-Za-z][A-Za-z0-9+.-]*:")
BLOCK_SECONDS = 120


def pages(source):
    found = [source / "README.md", source / "bench" / "README.md"]
    return [page for page in found if page.is_file()] + sorted((source / "docs").glob("*.md"))


def closes(opening, fence):
    return bool(opening) and opening.group(1)[0] == fence[0] and \
        len(opening.group(1)) >= len(fence) and not opening.group(2)


def parse(page):
    """Headings, links, runnable blocks and runnable marks without a block, with line numbers."""
    headings, links, blocks, stray_marks = [], [], [], []
    fence, block, mark = None, None, None
    for number, line in enumerate(page.read_text(encoding="utf-8").splitlines(), 1):
        opening = FENCE.match(line)
        if fence:
            if closes(opening, fence):
                if block:
                    blocks.append(block)
                fence, block = None, None
            elif block:
                block[1].append(line)
            continue
        if mark and not (opening and opening.group(2) == "sh"):
            stray_marks.append(mark)
        if opening:
            fence = opening.group(1)
            block = (number, []) if mark and opening.group(2) == "sh" else None
            mark = None
            continue
        mark = number if line.strip() == RUNNABLE_MARK else None
        heading = HEADING.match(line)
        if heading:
            headings.append(heading.group(1))
        links += [(number, target) for target in LINK.findall(CODE_SPAN.sub("", line))]
    if mark:
        stray_marks.append(mark)
    return headings, links, blocks, stray_marks


def anchors(headings):
    """GitHub's anchors: link text kept, lower case, punctuation dropped, spaces to hyphens,
    and -1, -2 ... after a repeated one."""
    seen, result = {}, set()
    for text in headings:
        text = re.sub(r"!?\[([^\]]*)\]\([^)]*\)", r"\1", text)
        slug = re.sub(r"[^\w\- ]", "", re.sub(r"<[^>]+>", "", text).lower()).replace(" ", "-")
        count = seen.get(slug, 0)
        seen[slug] = count + 1
        result.add(slug if count == 0 else f"{slug}-{count}")
    return result


def link_fault(source, page, target, parsed):
    if SCHEME.match(target):
        return None
    path, _, anchor = urllib.parse.unquote(target).partition("#")
    base = source if path.startswith("/") else page.parent
    linked = (base / path.lstrip("/")).resolve() if path else page
    if not linked.exists():
        return f"link {target}: no such file or folder"
    if anchor and linked.suffix == ".md":
        if linked not in parsed:
            parsed[linked] = parse(linked)
        if anchor not in anchors(parsed[linked][0]):
            return f"link {target}: no heading #{anchor} in {linked.relative_to(source)}"
    return None


def run_block(source, work, lines):
    folder = work / "block"
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    for entry in source.iterdir():
        (folder / entry.name).symlink_to(entry)
    try:
        run = subprocess.run(["bash", "-e", "-o", "pipefail", "-c", "\n".join(lines)],
                             cwd=folder, stdin=subprocess.DEVNULL, capture_output=True,
                             text=True, timeout=BLOCK_SECONDS)
    except subprocess.TimeoutExpired:
        return f"runnable block did not end within {BLOCK_SECONDS} s"
    if run.returncode == 0:
        return None
    said = [line for line in (run.stderr + run.stdout).splitlines() if line.strip()]
    return f"runnable block failed with status {run.returncode}: {said[-1] if said else 'no output'}"


def main(source, work):
    source, work = pathlib.Path(source).resolve(), pathlib.Path(work)
    shutil.rmtree(work, ignore_errors=True)
    faults, checked_links, checked_blocks = [], 0, 0
    parsed = {}
    try:
        for page in pages(source):
            parsed[page] = parsed.get(page) or parse(page)
            _, links, blocks, stray_marks = parsed[page]
            name = page.relative_to(source)
            found = [(number, f"{RUNNABLE_MARK} is not followed by a ```sh block")
                     for number in stray_marks]
            found += [(number, link_fault(source, page, target, parsed))
                      for number, target in links]
            found += [(number, run_block(source, work, lines)) for number, lines in blocks]
            checked_links += len(links)
            checked_blocks += len(blocks)
            faults += [f"{name}:{number}: {fault}" for number, fault in sorted(found) if fault]
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for fault in faults:
        print(fault)
    print(f"{checked_links} links and {checked_blocks} runnable blocks checked, "
          f"{len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
