#!/usr/bin/env python3
"""Every relative link and picture in README.md and docs/*.md names a file
that exists, so that moving or renaming a page or a picture cannot leave a
dead link behind. Addresses on the web and links within a page are not
checked.

    doc_links_check.py REPOSITORY_ROOT
"""
import re
import sys
from pathlib import Path

# [text](target) and ![alt](target); a target ends at a blank or ")".
LINK = re.compile(r"!?\[[^\]]*\]\(([^)\s]+)[^)]*\)")
# Code spans and fenced blocks hold commands, not links.
CODE = re.compile(r"```.*?```|`[^`\n]*`", re.DOTALL)


def dead_links(page: Path, root: Path):
    text = CODE.sub("", page.read_text(encoding="utf-8"))
    for target in LINK.findall(text):
        if re.match(r"[a-z]+:", target) or target.startswith("#"):
            continue
        path = target.split("#", 1)[0]
        if not (page.parent / path).exists():
            yield f"{page.relative_to(root)}: the link to {target} names no file"


def main() -> int:
    root = Path(sys.argv[1]).resolve()
    pages = [root / "README.md", *sorted((root / "docs").glob("*.md"))]
    problems = [line for page in pages for line in dead_links(page, root)]
    for line in problems:
        print(line)
    print(f"{len(pages)} pages, {len(problems)} dead links")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
