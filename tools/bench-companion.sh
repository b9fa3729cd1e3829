#!/usr/bin/env bash
# Companion benchmark: what Tremblix.scr /w costs in the user's session, with
# a timeout of 60 s. Prints, asserts nothing:
#   - its wakes an hour (the context switches of all its threads, from /proc)
#     while a person types into a Wine window, and while nobody does;
#   - its resident memory without a copy and while it holds one;
#   - the time from its look to the copy held (its own timestamps);
# on one 1920 x 1080 monitor and on the desk of two 3840 x 2160 monitors.
#   tools/bench-companion.sh [seconds of each phase, 180 unless given]
# TREMBLIX_BENCH_SIZES overrides the screens ("1920x1080 desk-uhd").
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-180}
sizes=${TREMBLIX_BENCH_SIZES:-1920x1080 desk-uhd}

tools/setup.sh
. tools/wine/harness.sh
edition=$(harness_default_edition)
harness_edition "$edition"
echo "edition: $edition ($PRESET), $seconds s a phase, timeout 60 s"
cmake --preset "$PRESET" >/dev/null
cmake --build --preset "$PRESET" -j 2 --target tremblix_scr winprobe >/dev/null
probe=$BUILD/tools/winprobe.exe
work=$BUILD/bench-companion
mkdir -p "$work"

# Context switches of every thread of process $1 so far.
switches() {
  cat /proc/"$1"/task/*/status 2>/dev/null |
    awk '/^(non)?voluntary_ctxt_switches/ { n += $2 } END { print n + 0 }'
}
resident_mib() { awk '/^VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }
per_hour() { echo $(( ($2 - $1) * 3600 / seconds )); }

for size in $sizes; do
  state=$work/$size
  harness_bench_ready "$state" "$size" || exit 1
  c=$WINEPREFIX/drive_c
  mkdir -p "$c/bench"
  cp "$BUILD/bin/Tremblix.scr" "$c/bench/"
  key='HKCU\Control Panel\Desktop'
  wine reg add "$key" /v SCRNSAVE.EXE /d 'C:\bench\Tremblix.scr' /f >/dev/null 2>&1
  wine reg add "$key" /v ScreenSaveActive /d 1 /f >/dev/null 2>&1
  wine reg add "$key" /v ScreenSaveTimeOut /d 60 /f >/dev/null 2>&1
  times=$c/companion-times.txt
  rm -f "$times"
  wine "$probe" desktop $((seconds * 3)) >/dev/null 2>&1 </dev/null &
  desktop=$!
  wine "$probe" host Typing 320 200 $((seconds * 3)) framed >/dev/null 2>&1 </dev/null &
  typing=$!
  harness_wait_window Typing 20 >/dev/null || { echo "no window to type into" >&2; exit 1; }
  TREMBLIX_TIMES='C:\companion-times.txt' wine 'C:\bench\Tremblix.scr' /w >/dev/null 2>&1 </dev/null &
  pid=$!
  until grep -q 'companion read the keys' "$times" 2>/dev/null; do sleep 0.2; done

  # A person typing: a key every half second.
  before=$(switches "$pid")
  end=$((SECONDS + seconds))
  while [ $SECONDS -lt $end ]; do harness_tap Typing a >/dev/null 2>&1 || true; sleep 0.5; done
  typing_wakes=$(per_hour "$before" "$(switches "$pid")")
  without=$(resident_mib "$pid")
  copies_typing=$(grep -c 'companion copied' "$times" || true)

  # Nobody there: a copy once per timeout.
  before=$(switches "$pid")
  with=
  end=$((SECONDS + seconds))
  while [ $SECONDS -lt $end ]; do
    if [ -z "$with" ] && grep -q 'companion copied: held' "$times"; then with=$(resident_mib "$pid"); fi
    sleep 0.2
  done
  idle_wakes=$(per_hour "$before" "$(switches "$pid")")
  kill "$pid" "$desktop" "$typing" 2>/dev/null || true
  wait 2>/dev/null || true
  harness_prefix_stop "$state/prefix"
  harness_display_stop "$state"

  echo
  echo "== $size (load average: $(cut -d' ' -f1-3 /proc/loadavg))"
  echo "  wakes an hour while typing:            $typing_wakes ($copies_typing copies)"
  echo "  wakes an hour while idle:              $idle_wakes"
  echo "  resident memory without a copy:        $without MiB"
  echo "  resident memory holding a copy:        ${with:-?} MiB"
  tr -d '\r' <"$times" | awk '/companion copied: held/ { n++; s = s " " $6 } END {
    printf "  look to copy held, ms (%d copies):    %s\n", n, s }'
done
