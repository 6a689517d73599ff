#!/usr/bin/env bash
# Installs the Debian packages the build, the demo and the tests need, and any
# other packages named on the command line, if any are missing. Runs apt-get
# as root, or through sudo.
#
#   scripts/install_deps.sh                  the base set
#   scripts/install_deps.sh PACKAGE...       the base set and these
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libglfw3-dev libglew-dev libglm-dev libstb-dev
  libgl1-mesa-dev libgl1-mesa-dri
  libgtest-dev libbenchmark-dev libtinyobjloader-dev
  # the reference GLSL front end: the tests compile the GLSL ES shader set with it
  glslang-tools
  xvfb xauth xdotool imagemagick x11-utils libx11-dev python3
  # scripts/fuzz.sh: clang with the libFuzzer and sanitizer runtimes, and
  # llvm-symbolizer for readable reports
  clang libclang-rt-14-dev llvm
  # scripts/format.sh: the formatter of .clang-format
  clang-format
)
packages+=("$@")

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
