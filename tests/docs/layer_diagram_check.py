#!/usr/bin/env python3
"""The picture of the layers shows the build as it is: the arrows between
folders in docs/layers.dot are exactly the folder libraries that each
folder's CMakeLists.txt names after USES, so that a layer that gains or drops
a dependency cannot leave the picture behind.

    layer_diagram_check.py REPOSITORY_ROOT
"""
import re
import sys
from pathlib import Path


def layer_folders(root: Path):
    """The layer folders, as the top CMakeLists.txt adds them bottom up."""
    text = (root / "CMakeLists.txt").read_text(encoding="utf-8")
    return re.search(r"foreach\(folder ([\w ]+)\)\s*add_subdirectory", text).group(1).split()


def built_uses(root: Path, folders):
    """(folder, used folder) for every <folder>_lib in a layer's USES list."""
    pairs = set()
    for folder in folders:
        text = (root / folder / "CMakeLists.txt").read_text(encoding="utf-8")
        layer = re.search(r"island_layer\((.*?)\)", text, re.DOTALL)
        uses = re.search(r"\bUSES\b(.*?)(?:\bPRIVATE_USES\b|\bSOURCES\b|$)", layer.group(1), re.DOTALL)
        for used in re.findall(r"\b(\w+)_lib\b", uses.group(1) if uses else ""):
            pairs.add((folder, used))
    return pairs


def drawn_arrows(root: Path, folders):
    """(folder, used folder) for every arrow between two folders in layers.dot."""
    text = (root / "docs" / "layers.dot").read_text(encoding="utf-8")
    text = re.sub(r"//[^\n]*", "", text)
    pairs = set()
    for source, targets in re.findall(r"(\w+)\s*->\s*(\{[^}]*\}|\w+)", text):
        for target in re.findall(r"\w+", targets):
            if source in folders and target in folders:
                pairs.add((source, target))
    return pairs


def main() -> int:
    root = Path(sys.argv[1]).resolve()
    folders = layer_folders(root)
    built, drawn = built_uses(root, folders), drawn_arrows(root, folders)
    for folder, used in sorted(built - drawn):
        print(f"docs/layers.dot: {folder}/ uses {used}/ in its CMakeLists.txt, but no arrow shows it")
    for folder, used in sorted(drawn - built):
        print(f"docs/layers.dot: the arrow {folder} -> {used} is not in {folder}/CMakeLists.txt")
    print(f"{len(built)} uses in the build, {len(drawn)} arrows in the picture")
    return 0 if built == drawn else 1


if __name__ == "__main__":
    sys.exit(main())
