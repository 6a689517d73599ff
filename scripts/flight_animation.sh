#!/usr/bin/env bash
# Makes the README's animation of the flight, docs/flight.gif: island-capture
# renders the scripted flight on its virtual clock (so the same moments always
# give the same frames), and ImageMagick joins the frames into a looping GIF.
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
out="$root/docs/flight.gif"

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
# One palette, made from all the frames, keeps the colours from flickering
# between frames; without dithering, what stays still stays the same pixels.
convert "${files[@]}" -append +dither -colors 256 -unique-colors "$frames/palette.png"
convert -delay "1x$fps" -loop 0 "${files[@]}" +dither -remap "$frames/palette.png" \
  -layers Optimize "$out"
echo "wrote docs/flight.gif: ${#files[@]} frames, $(du -k "$out" | cut -f1) KiB"
