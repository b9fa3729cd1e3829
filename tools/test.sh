#!/usr/bin/env bash
# Runs every test of Tremblix: installs what is missing, builds the presets and
# runs the native unit tests, the same under ASan and UBSan with the fuzz
# targets, the picture workers under TSan, and each edition's Windows-side and
# end-to-end tests under Wine where this machine can run that edition.
# Ends with one line "N passed, N failed, N skipped"; exits non-zero on any
# failure. TREMBLIX_NO_32BIT=1 behaves as on a machine that runs no 32-bit code;
# TREMBLIX_NO_XORG=1 skips the cases that need Xorg for two monitors side by
# side (anywhere else such a case fails when Xorg does not start).
#
# The Wine layers wait far more than they compute, and the last of them ends
# the run: they run at full priority beside the builds, and the native presets,
# which only compute, at a lower one in what they leave of the processors.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD

tools/setup.sh || { echo "0 passed, 1 failed, 0 skipped"; exit 1; }
. tools/wine/harness.sh

# Files a killed case left unwritable, servers and displays still running.
release_wine() {
  local journal state prefix
  for journal in "$root"/build/windows*/wine/*.undo; do
    [ -f "$journal" ] || continue
    awk -F'\t' '$1 == "mount" { print $2 }' "$journal" |
      while IFS= read -r folder; do umount "$folder" 2>/dev/null; done
    awk -F'\t' '$1 == "immutable" { print $2 }' "$journal" |
      while IFS= read -r file; do chattr -i "$file" 2>/dev/null; done
  done
  for prefix in "$root"/build/windows*/wine/*/; do
    [ -f "$prefix/.tremblix-ready" ] && harness_prefix_stop "${prefix%/}" &
  done
  wait
  for state in "$root"/build/windows*/wine/*.x; do
    [ -d "$state" ] && harness_display_stop "$state"
  done
}
trap 'release_wine; kill $(jobs -p) 2>/dev/null' EXIT

# Every run starts from new copies of the made prefixes: no case sees what an
# earlier run left.
release_wine
rm -rf "$root"/build/windows*/wine

# ctest runs this many tests at once: the end-to-end suites each have their
# own prefix and display.
test_jobs=${TREMBLIX_TEST_JOBS:-4}
passed=0
failed=0
skipped=0
failures=()
notes=()

# A failure here needs its file and line, not a debugger's view of every
# variable: the native builds carry line tables only, and build in a fifth
# less time. By hand the presets keep their full debugging information.
clang_lines="-DCMAKE_C_FLAGS_DEBUG=-gline-tables-only -DCMAKE_CXX_FLAGS_DEBUG=-gline-tables-only"
declare -A configure_args=(
  [native]="-DCMAKE_CXX_FLAGS_DEBUG=-g1" [native-sanitize]=$clang_lines [native-tsan]=$clang_lines)

build() {
  local preset=$1
  echo "== $preset: configure and build"
  if cmake --preset "$preset" ${configure_args[$preset]:-} >"$root/build/$preset-configure.log" 2>&1 &&
     $background cmake --build --preset "$preset" -j "$(nproc)" >"$root/build/$preset-build.log" 2>&1 &&
     { ! grep -q '^dist:' "$root/build/$preset/Makefile" ||
       cmake --build --preset "$preset" --target dist >>"$root/build/$preset-build.log" 2>&1; }; then
    return 0
  fi
  tail -n 40 "$root/build/$preset-configure.log" "$root/build/$preset-build.log" 2>/dev/null
  echo "== $preset: build FAILED"
  echo "$preset build" >"$root/build/$preset-test.log.failed"
  return 1
}

# Runs a built preset's tests into its log; extra arguments go to ctest.
run_tests() {
  local preset=$1 log=$root/build/$1-test.log
  shift
  echo "== $preset: test"
  # A case that hangs is ended long before CTest's own 1500 s, its output
  # kept in the log; no case of ours needs two minutes.
  $background ctest --preset "$preset" -j "${TREMBLIX_TEST_JOBS:-$test_jobs}" --timeout 120 "$@" >"$log" 2>&1
  echo "== $preset: tests done"
}

# Why a case skipped, as its output says: GoogleTest's line after "Skipped",
# or an end-to-end case's "SKIP:" line.
skip_reason() {
  awk -v name="$2" '
    /^[0-9]+\/[0-9]+ Test: / { mine = ($NF == name) }
    mine && after { print; exit }
    mine && / Skipped$/ { after = 1 }
    mine && /^SKIP: / { print substr($0, 7); exit }
  ' "$root/build/$1/Testing/Temporary/LastTest.log" 2>/dev/null
}

# Adds a preset's results from its log to the totals, and prints its failures.
count_tests() {
  local preset=$1 log=$root/build/$1-test.log
  if [ -f "$log.failed" ]; then
    failed=$((failed + 1))
    failures+=("$(cat "$log.failed")")
    return
  fi
  # Tried twice (the Wine layers): a case that failed once and then passed is
  # named, not hidden.
  local line name
  grep -E '\*\*\*Failed|\*\*\*Timeout|\*\*\*Exception|Not Run' "$log" | while IFS= read -r line; do
    name=$(awk '{ for (i = 1; i < NF; i++) if ($i ~ /^#[0-9]+:$/) { print $(i + 1); exit } }' <<<"$line")
    if [ -n "$name" ] && ! sed -n '/The following tests FAILED/,$p' "$log" | grep -qF " $name "; then
      echo "$preset: failed once, passed when tried again: $line"
    else
      echo "$preset: $line"
    fi
  done
  # A skipped case is named with its reason, from its own output.
  grep -E '\*\*\*Skipped' "$log" | while IFS= read -r line; do
    name=$(awk '{ for (i = 1; i < NF; i++) if ($i ~ /^#[0-9]+:$/) { print $(i + 1); exit } }' <<<"$line")
    echo "$preset: skipped $name: $(skip_reason "$preset" "$name")"
  done
  local summary total bad skip
  summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$summary" ]; then
    echo "== $preset: ctest gave no summary"
    failed=$((failed + 1))
    failures+=("$preset ctest")
    return
  fi
  bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
  # A case that finds a capability missing says so and counts as skipped.
  skip=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .*\*\*\*Skipped' "$log")
  echo "== $preset: $((total - bad - skip)) passed, $bad failed, $skip skipped of $total"
  passed=$((passed + total - bad - skip))
  failed=$((failed + bad))
  skipped=$((skipped + skip))
  [ "$bad" = 0 ] || failures+=("$preset: $bad")
}

mkdir -p build
rm -f build/*-test.log build/*-test.log.failed
start=$SECONDS

# Both editions are built everywhere. The 64-bit one, what our users install,
# runs every case. Where the 32-bit one runs too, it runs what can differ by
# edition: the Windows-side tests (the platform's records and calls at 32
# bits), its installer, start-up, the photograph and its pictures, the
# password-protected saver, and its settings file. The button, the rest of the dialog and the
# song's way to the run are the same code in both. Its signed release and its
# import tables need no Wine: they are checked everywhere.
x86_signing='^(sign\.|windows\.imports_are_known_dlls$)'
x86_cases='^(windows\.|sign\.|e2e\.(install|install64|startup|user_settings|privacy)\.|e2e\.run\.(hand_off|libraries_planted)|e2e\.renderer\.on_a_desk_each|e2e\.dialog\.set_writes)'

# How many of those the 32-bit edition has, counted without running it: its
# Windows-side programs are the 64-bit edition's, built from the same sources.
count_x86_cases() {
  local e2e windows_side
  e2e=$(grep -oE 'add_test\(\[=\[e2e\.[^]]+' "$root/build/windows/CTestTestfile.cmake" |
          sed 's/.*\[=\[//' | grep -cE "$x86_cases")
  # Its import tables are read everywhere, Wine or not.
  windows_side=$(grep -E '^ *[0-9]+/[0-9]+ Test +#[0-9]+: windows\.' \
                   "$root/build/windows-x64-test.log" 2>/dev/null |
                 grep -vc 'windows\.imports_are_known_dlls')
  echo $((${e2e:-0} + ${windows_side:-0}))
}

runs_32bit=0
harness_runs_32bit && runs_32bit=1

# The Wine prefixes every suite's is a copy of, made while the builds run.
{
  harness_make_template win64 >/dev/null
  [ "$runs_32bit" = 0 ] || harness_make_template win32 >/dev/null
} >"$root/build/wine-prefixes.log" 2>&1 &

# One rare fault of Wine's must not stop every change: a Wine case that fails
# is tried once more, and said so.
wine_retry=(--repeat until-pass:2)

# The 64-bit edition builds first; then its cases run beside the 32-bit
# edition's build, whose cases follow it.
background=
(
  build windows-x64
  x64_built=$?
  (
    if build windows; then
      if [ "$runs_32bit" = 1 ]; then
        run_tests windows -R "$x86_cases" "${wine_retry[@]}"
      else
        run_tests windows -R "$x86_signing"
      fi
    fi
  ) &
  [ "$x64_built" != 0 ] || run_tests windows-x64 "${wine_retry[@]}"
  wait
) &
wine_tests=$!

background="nice -n 10"
build native && run_tests native
build native-sanitize && run_tests native-sanitize
# The picture workers are the only code that runs on several threads.
build native-tsan && run_tests native-tsan -R '^threads\.'
wait "$wine_tests"

echo
for preset in native native-sanitize native-tsan windows-x64; do count_tests "$preset"; done
count_tests windows
if [ "$runs_32bit" = 0 ] && [ ! -f build/windows-test.log.failed ]; then
  why="this machine runs no 32-bit programs (/usr/lib/wine/wine: Exec format error)"
  [ -e /usr/lib/wine/wine ] ||
    why="this machine runs no 32-bit programs, so setup left 32-bit Wine out"
  [ "${TREMBLIX_NO_32BIT:-0}" != 1 ] ||
    why="TREMBLIX_NO_32BIT=1 asks to behave as on a machine that runs no 32-bit programs"
  x86_skipped=$(count_x86_cases)
  notes+=("skipped: the 32-bit edition's $x86_skipped Windows-side and end-to-end cases: $why; the 32-bit edition was built, packed and its signed release verified, not run")
  skipped=$((skipped + x86_skipped))
fi

# The ten slowest cases of the run, so that the next slow one is seen.
echo
echo "The ten slowest cases:"
for preset in native native-sanitize native-tsan windows-x64 windows; do
  sed -nE "s/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+) .* ([0-9.]+) sec\$/\2 $preset \1/p" \
    "build/$preset-test.log" 2>/dev/null
done | sort -rn | head -n 10 | awk '{ printf "  %6.1f s  %s  %s\n", $1, $2, $3 }'

echo
echo "Screenshots of the end-to-end runs: $root/build/windows-x64/e2e-screenshots (64-bit) and $root/build/windows/e2e-screenshots (32-bit)"
for note in "${notes[@]}"; do echo "$note"; done
[ ${#failures[@]} -eq 0 ] || echo "Failures: ${failures[*]} (logs in $root/build)"
echo "Took $((SECONDS - start)) s."
echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
