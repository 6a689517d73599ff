#!/usr/bin/env bash
# Fuzzes the file readers: builds the targets in fuzz/ with clang, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer into build-fuzz/, then runs
# each for the given number of seconds (default 60) on a copy of its starting
# inputs (fuzz/corpus/<target>/), and prints its executions and executions
# per second. An input that crashes a target or breaks one of its checks is
# kept in build-fuzz/crashes/<target>/ with the target's output, and the
# script then exits non-zero.
#
#   scripts/fuzz.sh [seconds] [target...]    targets: obj_mesh tga recording config shader_dialect
#
# The corpora grow in a temporary folder that is removed at the end; set
# FUZZ_WORK_DIR to keep them there and go on from them in a later run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(obj_mesh tga recording config shader_dialect)

scripts/install_deps.sh
build_dir=build-fuzz
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DISLAND_FUZZ=ON -DISLAND_WERROR=ON -DBUILD_TESTING=OFF -DISLAND_BENCHMARKS=OFF >/dev/null
cmake --build "$build_dir" -j"$(nproc)" --target "${targets[@]/%/_fuzz}" >/dev/null

work_dir="${FUZZ_WORK_DIR:-}"
if [ -z "$work_dir" ]; then
  work_dir="$(mktemp -d)"
  trap 'rm -rf "$work_dir"' EXIT
fi
export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"

crashed=0
printf '%-10s %14s %10s  %s\n' target runs runs/s result
for target in "${targets[@]}"; do
  corpus="$work_dir/$target"
  crashes="$build_dir/crashes/$target"
  mkdir -p "$corpus" "$crashes"
  cp fuzz/corpus/"$target"/* "$corpus"/
  log="$work_dir/$target.log"
  status=0
  # Inputs that run fast are picked more often (a 1 × 16384 TGA, say, takes
  # a hundred times longer to resample than most), for more runs in the time.
  "$build_dir/fuzz/${target}_fuzz" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -entropic_scale_per_exec_time=1 -artifact_prefix="$crashes/" "$corpus" >"$log" 2>&1 ||
    status=$?
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
  rate="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")"
  result=clean
  if [ "$status" -ne 0 ]; then
    crashed=1
    cp "$log" "$crashes/"
    input="$(sed -n 's/.*Test unit written to //p' "$log" | tail -n 1)"
    result="FAILED (exit $status): input kept in ${input:-$crashes/}, output in $crashes/$target.log"
  fi
  printf '%-10s %14s %10s  %s\n' "$target" "${runs:-?}" "${rate:-?}" "$result"
done
exit "$crashed"
