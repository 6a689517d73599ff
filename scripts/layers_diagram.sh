#!/usr/bin/env bash
# Draws the picture of the source layers, docs/layers.svg, from its text source
# docs/layers.dot with Graphviz's dot (installed if missing). Run it after
# changing layers.dot, and commit both.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install_deps.sh graphviz
dot -Tsvg docs/layers.dot -o docs/layers.svg
echo "wrote docs/layers.svg"
