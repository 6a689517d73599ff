#!/usr/bin/env bash
# Mutation check of the test suite: builds a scratch copy of the tree (the
# working tree's tracked and unignored files, never the tree itself) under
# /tmp, then applies each mutant below (a realistic fault), one at a time,
# rebuilds incrementally, runs the whole suite and prints a table: the first
# test that caught each mutant, or NOT CAUGHT. A tool for people; CI does not
# run it.
#
#   scripts/mutate.sh                     every mutant against this tree's tests
#   scripts/mutate.sh --suite-from REF    the same code, with the tests/ of commit REF
#   scripts/mutate.sh --only NAME,NAME    some of the mutants
#   scripts/mutate.sh --list              the mutants and the files they touch
#
# Each mutant is one exact edit; the script stops before building when an edit
# no longer matches exactly one place. Expect a few minutes for the first
# build and about one suite run per mutant. Exit status 1 when a mutant lived.
set -euo pipefail
{  # read whole before it runs, so that editing the script meanwhile is harmless
root="$(cd "$(dirname "$0")/.." && pwd)"

# name @@ file @@ text @@ replacement ("\n" stands for a line end)
mutants=(
  "obj-face-index@@assets/obj_reader.cpp@@static_cast<unsigned>(index) - 1u@@static_cast<unsigned>(index)"
  "key-order@@frame/key_handlers.cpp@@    switchSelection(state);\n    cycleShadingMode(state, scene);@@    cycleShadingMode(state, scene);\n    switchSelection(state);"
  "tga-row-order@@platform/image_reader.cpp@@if ((flags & GLFW_ORIGIN_UL_BIT) == 0) flipRows@@if ((flags & GLFW_ORIGIN_UL_BIT) != 0) flipRows"
  "rec-separator@@input/input_recorder.cpp@@\"%d_%d_%d \"@@\"%d,%d,%d \""
  "texture-unit@@render/scene_object.cpp@@            glActiveTexture(GL_TEXTURE1);@@            glActiveTexture(GL_TEXTURE2);"
  "uniform-name@@render/scene_object.cpp@@setMat4(\"V_cam\"@@setMat4(\"V_Cam\""
  "polyoffset-sign@@frame/frame_composition.cpp@@glPolygonOffset(1.1f, polyoffset);@@glPolygonOffset(1.1f, -polyoffset);"
  "recorder-first-count@@input/input_recorder.cpp@@earlier recording\n    framesSinceLastItem = 0;@@earlier recording\n    framesSinceLastItem = 1;"
  "config-comment@@state/app_config.cpp@@line[0] == '#'@@line.find('#') != std::string::npos"
  "camera-yaw-sign@@camera/camera.cpp@@yaw += static_cast<float>(dx) * mouseSensitivity;@@yaw -= static_cast<float>(dx) * mouseSensitivity;"
  "on-release-while-held@@frame/key_handlers.cpp@@(state.modeRequest && !held('C'))@@(state.modeRequest)"
  "lost-taps@@platform/window.cpp@@return down || pressedDuringLastPoll.test(glfw3Key) ?@@return down ?"
  "no-shutdown@@app/main.cpp@@        loop.shutdown();\n@@"
  "fps-every-10@@frame/frame_loop.cpp@@if (++fpsFrameCounter < 100) return;@@if (++fpsFrameCounter < 10) return;"
  "unmirrored-reflection@@Shaders/base.vert@@vec4(world.x, 2.0 * WATER_HEIGHT - world.y, world.z, 1.0)@@vec4(world.x, world.y, world.z, 1.0)"
  "flat-normal-slot@@assets/mesh.cpp@@    {\"in_FlatNormal\", Mesh::CornerArray::FlatNormals},\n    {\"in_FlatTangent\"@@    {\"in_FlatNormal\", Mesh::CornerArray::SmoothNormals},\n    {\"in_FlatTangent\""
  "target-left-bound@@frame/frame_composition.cpp@@    glActiveTexture(GL_TEXTURE0 + ShadowMap::kTextureUnit);\n    scene.shadowMap->unbindTexture();@@    scene.shadowMap->unbindTexture();"
  "pitch-unlimited@@camera/camera.cpp@@std::clamp(pitch + static_cast<float>(dy) * mouseSensitivity, -90.0f, 90.0f)@@pitch + static_cast<float>(dy) * mouseSensitivity"
  "script-resume-jump@@frame/key_handlers.cpp@@        scriptLastTime = platform::glfwGetTime();\n@@"
  "fixed-aspect@@render/scene_projection.cpp@@static_cast<float>(width) / static_cast<float>(height);@@static_cast<float>(width) / static_cast<float>(height) * 0.0f + 4.0f / 3.0f;"
  "position-not-attribute-0@@render/program_link.cpp@@fragmentShader, {{\"in_Position\", 0}});@@fragmentShader, {});"
  "shadow-map-kept-while-the-clock-moves@@frame/frame_composition.cpp@@plainDrawing() || inputs.readsClock ||@@plainDrawing() ||"
  "shadow-map-blind-to-uniform-changes@@scene/shadow_map_inputs.cpp@@uniformsChangedAt == other.uniformsChangedAt && @@"
  "position-aliases-a-placed-attribute@@render/program_link.cpp@@if (!linked || attributesOverlap(program)) {@@if (!linked) {"
  "build-values-not-remembered@@render/uniform_record.cpp@@    remember(name, value);@@    if (boundProgram.value_or(ownProgram) == ownProgram) remember(name, value);"
  "mode-macro-by-text-search@@render/per_mode_builds.cpp@@decision = probes->sourcesUseModeMacro() ?@@decision = general.vertexSource.find(kModeMacro) != std::string::npos ?"
  "mode-copy-drifts@@Shaders/base.frag@@const int MODE_REFLECTION_PASS = 7;@@const int MODE_REFLECTION_PASS = 8;"
  "glint-in-shadow@@Shaders/base.frag@@litBody + LIGHT_COLOUR * glint;@@litBody + LIGHT_COLOUR * glint * shadow;"
  "parts-blind-to-primitive-id@@render/shader_program.cpp@@reads(\"gl_PrimitiveID\")@@reads(\"gl_PrimitiveId\")"
  "draw-part-offset-in-indices@@assets/mesh.cpp@@static_cast<uintptr_t>(12 * first)@@static_cast<uintptr_t>(3 * first)"
)

suite_from=""
only=""
list=0
while [ $# -gt 0 ]; do
  case "$1" in
    --suite-from) suite_from="$2"; shift 2 ;;
    --only) only="$2"; shift 2 ;;
    --list) list=1; shift ;;
    *) echo "usage: scripts/mutate.sh [--suite-from REF] [--only NAME,...] [--list]" >&2; exit 2 ;;
  esac
done

# fields ENTRY: sets name, file, text and replacement from one mutant.
fields() {
  name="${1%%@@*}"; local rest="${1#*@@}"
  file="${rest%%@@*}"; rest="${rest#*@@}"
  text="${rest%%@@*}"; replacement="${rest#*@@}"
}

selected=()
for entry in "${mutants[@]}"; do
  fields "$entry"
  if [ -z "$only" ] || [[ ",$only," == *",$name,"* ]]; then selected+=("$entry"); fi
done
if [ "$list" = 1 ]; then
  for entry in "${selected[@]}"; do fields "$entry"; echo "$name  $file"; done
  exit 0
fi
[ ${#selected[@]} -gt 0 ] || { echo "no mutant named in --only '$only'" >&2; exit 2; }

# mutate FILE TEXT REPLACEMENT: replaces the one occurrence of TEXT, or fails.
mutate() {
  python3 - "$@" <<'EOF'
import sys
path, text, replacement = sys.argv[1], sys.argv[2].replace("\\n", "\n"), sys.argv[3].replace("\\n", "\n")
source = open(path).read()
count = source.count(text)
if count != 1:
    sys.exit(f"{path}: the mutant's text is found {count} times, not once: {text!r}")
open(path, "w").write(source.replace(text, replacement))
EOF
}

work="$(mktemp -d /tmp/island-mutate.XXXXXX)"
trap 'rm -rf "$work"' EXIT
src="$work/src"
build="$work/build"
mkdir -p "$src"
echo "scratch copy: $work"
(cd "$root" && git ls-files -z --cached --others --exclude-standard |
  tar --null -T - --ignore-failed-read -cf - 2>/dev/null) | tar -xf - -C "$src"
if [ -n "$suite_from" ]; then
  rm -rf "$src/tests"
  git -C "$root" archive "$suite_from" tests | tar -xf - -C "$src"
  echo "tests/ from $suite_from"
fi

# Every edit must still apply before any time goes into building.
for entry in "${selected[@]}"; do
  fields "$entry"
  cp "$src/$file" "$work/original"
  mutate "$src/$file" "$text" "$replacement" || { echo "mutant $name does not apply" >&2; exit 2; }
  cp "$work/original" "$src/$file"
done

build_tree() {
  { cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release -DISLAND_WERROR=ON \
      -DISLAND_BENCHMARKS=OFF && nice -n 10 cmake --build "$build" -j"$(nproc)"; } \
    >"$work/build.log" 2>&1
}

# run_suite: 0 when every test passes; the first failing test goes to $work/failed.
run_suite() {
  local status=0
  (cd "$build" && "$root/scripts/xvfb.sh" \
    ctest -j2 --timeout 600 --stop-on-failure >"$work/suite.log" 2>&1) || status=$?
  sed -n '/The following tests FAILED:/{n;p;q}' "$work/suite.log" |
    sed -E 's/^[[:space:]]*[0-9]+ - //; s/ \(.*$//' >"$work/failed"
  return $status
}

echo "building the unmutated copy"
build_tree || { cat "$work/build.log" >&2; echo "the unmutated copy does not build" >&2; exit 2; }
start=$(date +%s)
if ! run_suite; then
  cp "$work/suite.log" /tmp/island-mutate-suite.log
  echo "the unmutated suite fails ($(cat "$work/failed")); see /tmp/island-mutate-suite.log" >&2
  exit 2
fi
echo "unmutated suite: $(grep -o '[0-9]* tests failed out of [0-9]*' "$work/suite.log")" \
  "in $(( $(date +%s) - start )) s"

results=()
lived=0
for entry in "${selected[@]}"; do
  fields "$entry"
  cp "$src/$file" "$work/original"
  mutate "$src/$file" "$text" "$replacement"
  start=$(date +%s)
  if ! build_tree; then
    outcome="caught (does not build: $(grep -m1 -E 'error|Error' "$work/build.log" | cut -c1-80))"
  elif run_suite; then
    outcome="NOT CAUGHT"
    lived=1
  else
    outcome="caught by $(cat "$work/failed")"
  fi
  cp "$work/original" "$src/$file"
  results+=("$(printf '%-24s %-30s %5ss  %s' "$name" "$file" "$(( $(date +%s) - start ))" "$outcome")")
  echo "${results[-1]}"
done

echo
printf '%-24s %-30s %6s  %s\n' mutant file time result
printf '%s\n' "${results[@]}"
exit $lived
}
