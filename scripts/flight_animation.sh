#!/usr/bin/env bash
# Makes the README's animation of the flight, docs/flight.webp: island-capture
# renders the scripted flight on its virtual clock (so the same moments always
# give the same frames), and ImageMagick joins the frames into a looping
# animated WebP. Lossy WebP keeps the moving picture near 400 KB, where a GIF
# of the same frames, every pixel of which changes as the camera flies, takes
# over 2 MB.
#
#   scripts/flight_animation.sh [START [SECONDS [FPS [SIZE]]]]
#
# Defaults: from 1 s of the flight, 4 seconds, 12 frames per second, 320x240.
# FPS must divide the capture's 60 frames per second, so that every frame of
# the animation is a frame of the flight. Builds what is missing first; the
# capture runs under Xvfb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
start="${1:-1}" seconds="${2:-4}" fps="${3:-12}" size="${4:-320x240}"
if [ $((60 % fps)) -ne 0 ]; then
  echo "scripts/flight_animation.sh: FPS $fps does not divide 60" >&2
  exit 2
fi
out="$root/docs/flight.webp"

scripts/install_deps.sh
scripts/build.sh >/dev/null

frames="$(mktemp -d)"
trap 'rm -rf "$frames"' EXIT
# Whole frames of the 60 frames per second clock: START + k / FPS seconds.
times="$(awk -v start="$start" -v seconds="$seconds" -v fps="$fps" 'BEGIN {
  first = int(start * 60 + 0.5); step = 60 / fps
  for (k = 0; k < seconds * fps; ++k) printf "%s%.10g", (k ? "," : ""), (first + k * step) / 60 }')"
(cd build/run && "$root/scripts/xvfb.sh" ./island-capture --at "$times" --size "$size" \
  --out "$frames" --prefix frame)

# The files are named frame-<seconds>s.png; join them in the order of their times.
mapfile -t files < <(cd "$frames" && ls frame-*s.png | sed 's/^frame-//; s/s\.png$//' | sort -g |
  sed "s|^|$frames/frame-|; s|\$|s.png|")
convert -delay "1x$fps" -loop 0 "${files[@]}" -quality 75 -define webp:method=6 "$out"
echo "wrote docs/flight.webp: ${#files[@]} frames, $(du -k "$out" | cut -f1) KiB"
