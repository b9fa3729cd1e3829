#!/usr/bin/env bash
# Runs every test of Tremblix: installs what is missing, builds the three
# presets and runs the native unit tests, the same under ASan and UBSan with the
# fuzz targets, and the Windows-side and end-to-end tests under Wine.
# Ends with one line "N passed, N failed"; exits non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD

tools/setup.sh || { echo "0 passed, 1 failed"; exit 1; }
. tools/wine/harness.sh

stop_wine() {
  local prefix
  for prefix in "$root"/build/windows/wine/*/; do
    [ -f "$prefix/.tremblix-ready" ] && harness_prefix_stop "${prefix%/}"
  done
  harness_display_stop "$root/build/windows/wine"
}
trap stop_wine EXIT

jobs=$(nproc)
passed=0
failed=0
failures=()

layer() {
  local preset=$1 log=$root/build/$1-test.log
  echo "== $preset: configure and build"
  if ! cmake --preset "$preset" >"$root/build/$preset-configure.log" 2>&1 ||
     ! cmake --build --preset "$preset" -j "$jobs" >"$root/build/$preset-build.log" 2>&1 ||
     { [ "$preset" = windows ] &&
       ! cmake --build --preset windows --target dist >>"$root/build/$preset-build.log" 2>&1; }; then
    tail -n 40 "$root/build/$preset-configure.log" "$root/build/$preset-build.log" 2>/dev/null
    echo "== $preset: build FAILED"
    failed=$((failed + 1))
    failures+=("$preset build")
    return
  fi
  echo "== $preset: test"
  ctest --preset "$preset" -j "$jobs" --timeout 300 2>&1 | tee "$log" |
    grep -E '^ *[0-9]+/[0-9]+ Test|tests passed|Output|FAIL'
  local summary total bad
  summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$summary" ]; then
    echo "== $preset: ctest gave no summary"
    failed=$((failed + 1))
    failures+=("$preset ctest")
    return
  fi
  bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
  [ "$bad" = 0 ] || failures+=("$preset: $bad")
}

mkdir -p build
start=$SECONDS
layer native
layer native-sanitize
layer windows

echo
echo "Screenshots of the end-to-end runs: $root/build/windows/e2e-screenshots"
[ ${#failures[@]} -eq 0 ] || echo "Failures: ${failures[*]} (logs in $root/build)"
echo "Took $((SECONDS - start)) s."
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
