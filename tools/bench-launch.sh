#!/usr/bin/env bash
# Launch benchmark: from the start of "Tremblix.scr /s" to the renderer's first
# frame, on virtual screens of 1920 x 1080, 3840 x 2160 and 7680 x 4320 showing
# a made-up desktop. The times are taken inside the programs, which write
# timestamps on one shared clock when TREMBLIX_TIMES names a file; nothing
# outside them watches the clock. Prints the median, lowest and highest of
# each step over several runs; asserts nothing.
#   tools/bench-launch.sh [runs] [--compare FOLDER] [--edition x86|x64] [--desk]
# The edition is by default the one this machine runs (the 32-bit one where it
# can); FOLDER must hold programs of the same edition.
# --compare FOLDER also runs the Tremblix.scr and Tremblix.dll kept in FOLDER,
# alternating with the build's own, and prints both medians side by side.
# TREMBLIX_BENCH_SIZES overrides the screen sizes ("1920x1080 3840x2160", or
# with --desk "desk-right desk-uhd").
# --desk runs on desks of two monitors side by side instead (Xorg's dummy
# driver; "desk-right" two of 1600 x 1200, "desk-uhd" two of 3840 x 2160),
# the build's programs showing the scene on every monitor and, alternating
# with them, on the primary alone (the settings file's Monitors " 0"), and
# prints the frames a second of the watch too.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=5
compare=
edition=
desk=
while [ $# -gt 0 ]; do
  case $1 in
    --compare) compare=$(realpath "$2"); shift 2 ;;
    --edition) edition=$2; shift 2 ;;
    --desk) desk=1; shift ;;
    *) runs=$1; shift ;;
  esac
done
if [ -n "$desk" ]; then
  sizes=${TREMBLIX_BENCH_SIZES:-desk-right desk-uhd}
else
  sizes=${TREMBLIX_BENCH_SIZES:-1920x1080 3840x2160 7680x4320}
fi
watch_seconds=5

tools/setup.sh
. tools/wine/harness.sh
edition=${edition:-$(harness_default_edition)}
harness_edition "$edition"
echo "edition: $edition ($PRESET)"
cmake --preset "$PRESET" >/dev/null
cmake --build --preset "$PRESET" -j 2 --target tremblix_scr tremblix_renderer winprobe >/dev/null
probe=$BUILD/tools/winprobe.exe
work=$BUILD/bench-launch
mkdir -p "$work"

variants=(after)
[ -z "$desk" ] || variants+=(primary)
[ -z "$compare" ] || variants=(before "${variants[@]}")
folder_of() { [ "$1" = before ] && echo "$compare" || echo "$BUILD/bin"; }

# One run's timestamps as "step<TAB>milliseconds" lines, in the order of the
# launch. Steps are the time from the step before; textures also give their parts.
steps_of_run() {
  tr -d '\r' <"$1" | awk '
    function step(name, t) { printf "%s\t%.1f\n", name, t - last; last = t }
    $2 == "scr" && $3 == "process" { start = $1; last = $1 }
    $2 == "scr" && $3 == "main" { step("saver: Wine starts it", $1) }
    $2 == "scr" && $3 == "capture" { step("saver: start-up to the capture", $1) }
    $2 == "scr" && $3 == "photographed" { step($4 == "monitor" ? "saver: photograph monitor " $5 : "saver: photograph", $1) }
    # Files by name alone: builds before the pictures had a folder of their
    # own wrote them with their path.
    $2 == "scr" && $3 == "wrote" { file = $4; sub(/.*\\/, "", file); step("saver: write " file, $1) }
    $2 == "scr" && $3 == "renderer" { step("saver: start the renderer", $1) }
    $2 == "dll" && $3 == "process" { dll = $1 }
    $2 == "dll" && $3 == "main" { step("renderer: Wine starts it", $1) }
    $2 == "dll" && $3 == "window" && $4 == "and" { step("renderer: window and context", $1) }
    $2 == "dll" && $3 == "window" && $4 == "shown" { step("renderer: window shown", $1) }
    $2 == "dll" && $3 == "texture" {
      file = $4; sub(/:$/, "", file); sub(/.*\\/, "", file)
      step("renderer: texture " file, $1)
      r = c = w = u = 0
      for (i = 5; i < NF; i++) {
        if ($i == "read") r = $(i + 1); if ($i == "chain") c = $(i + 1)
        if ($i == "wait") w = $(i + 1); if ($i == "upload") u = $(i + 1)
      }
      printf "    read / chain / wait / upload %s\t%s %s %s %s\n", file, r, c, w, u
    }
    $2 == "dll" && $3 == "frame" { frames++; if (!first_frame) first_frame = $1; last_frame = $1 }
    $2 == "dll" && $3 == "first" {
      step("renderer: first frame", $1)
      printf "TOTAL /s to first frame\t%.1f\n", $1 - start
      printf "TOTAL renderer start to first frame\t%.1f\n", $1 - dll
      printf "CPU renderer processor time to the first frame\t%s\n", $6
    }
    $2 == "dll" && $3 == "memory" {
      printf "MEMORY renderer peak working set, MiB\t%s\n", $11
      # Wine gives the private bytes of the moment here, not their peak.
      printf "MEMORY renderer peak private (Wine: at the first frame), MiB\t%s\n", $15
    }
    $2 == "scr" && $3 == "watched" { printf "CPU saver while watching, %% of a core (Wine counts 10 ms steps)\t%s\n", $11 }
    END {
      if (frames > 1 && last_frame > first_frame)
        printf "FPS frames a second while watching\t%.1f\n", (frames - 1) * 1000 / (last_frame - first_frame)
    }
  '
}

# Median, lowest and highest of each step over the runs of one variant, as
# "step<TAB>median<TAB>min<TAB>max"; "a b c" values are taken field by field.
summarise() {
  awk -F'\t' '
    !($1 in seen) { seen[$1] = ++n; name[n] = $1 }
    { k = seen[$1]; count[k]++; value[k, count[k]] = $2 }
    function median(k, f,   i, j, m, v, t) {
      m = count[k]
      for (i = 1; i <= m; i++) { split(value[k, i], parts, " "); v[i] = parts[f] + 0 }
      for (i = 2; i <= m; i++) for (j = i; j > 1 && v[j - 1] > v[j]; j--) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
      lo = v[1]; hi = v[m]
      return m % 2 ? v[(m + 1) / 2] : (v[m / 2] + v[m / 2 + 1]) / 2
    }
    END {
      for (k = 1; k <= n; k++) {
        fields = split(value[k, 1], parts, " ")
        text = ""; los = ""; his = ""
        for (f = 1; f <= fields; f++) {
          text = text (f > 1 ? " / " : "") sprintf("%.1f", median(k, f))
          los = los (f > 1 ? " / " : "") sprintf("%.1f", lo); his = his (f > 1 ? " / " : "") sprintf("%.1f", hi)
        }
        printf "%s\t%s\t%s\t%s\n", name[k], text, los, his
      }
    }'
}

# The settings file of the prefix's user: the primary alone for that variant.
settings_for() {
  local ini=$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Tremblix/Tremblix.ini
  rm -f "$ini"
  [ "$1" = primary ] || return 0
  mkdir -p "$(dirname "$ini")"
  printf '[Section]\r\nMonitors= 0\r\n' >"$ini"
}

one_run() {
  local variant=$1 times=$2 scr=$3
  settings_for "$variant"
  rm -f "$WINEPREFIX/drive_c/launch-times.txt"
  TREMBLIX_TIMES='C:\launch-times.txt' wine "$scr" /s >/dev/null 2>&1 </dev/null &
  local pid=$! waited=0
  until grep -q 'dll first frame' "$WINEPREFIX/drive_c/launch-times.txt" 2>/dev/null; do
    sleep 0.25
    waited=$((waited + 1))
    if [ $waited -gt 120 ]; then echo "  no first frame within 30 s" >&2; break; fi
  done
  sleep "$watch_seconds"
  harness_press Tremblix_VC Escape >/dev/null 2>&1 || true
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  cp "$WINEPREFIX/drive_c/launch-times.txt" "$times" 2>/dev/null || true
}

for size in $sizes; do
  state=$work/$size
  harness_bench_ready "$state" "$size" || exit 1
  c=$WINEPREFIX/drive_c
  for variant in "${variants[@]}"; do
    mkdir -p "$c/bench-$variant"
    cp "$(folder_of "$variant")/Tremblix.scr" "$(folder_of "$variant")/Tremblix.dll" \
      "$c/bench-$variant/"
  done
  wine "$probe" desktop $((runs * ${#variants[@]} * 15 + 60)) >/dev/null 2>&1 </dev/null &
  desktop=$!
  sleep 2
  load=$(cut -d' ' -f1-3 /proc/loadavg)
  rm -rf "$state/runs"
  mkdir -p "$state/runs"
  # A first run of each fills the file cache and Wine's; it is not counted.
  for run in $(seq 0 "$runs"); do
    for variant in "${variants[@]}"; do
      one_run "$variant" "$state/runs/$variant-$run.txt" "C:\\bench-$variant\\Tremblix.scr"
    done
  done
  kill "$desktop" 2>/dev/null || true
  wait "$desktop" 2>/dev/null || true
  harness_prefix_stop "$state/prefix"
  harness_display_stop "$state"

  echo
  echo "== $size: median of $runs runs (lowest..highest); load average before: $load, after: $(cut -d' ' -f1-3 /proc/loadavg)"
  for variant in "${variants[@]}"; do
    for run in $(seq 1 "$runs"); do
      steps_of_run "$state/runs/$variant-$run.txt"
    done | summarise >"$state/$variant.summary"
  done
  if [ ${#variants[@]} = 1 ]; then
    awk -F'\t' '{ printf "  %-46s %12s ms  (%s .. %s)\n", $1, $2, $3, $4 }' "$state/after.summary" |
      sed -E 's/^  (TOTAL|MEMORY|CPU|FPS) /  /; /MiB|core|second/s/ ms  / /'
  else
    # The variants side by side, each step's median.
    summaries=()
    for variant in "${variants[@]}"; do summaries+=("$state/$variant.summary"); done
    printf '  %-46s' ""
    printf ' %16s' "${variants[@]}"
    echo
    awk -F'\t' -v n=${#variants[@]} '
      FNR == 1 { v++ }
      !($1 in row) { row[$1] = ++rows; name[rows] = $1 }
      { value[row[$1], v] = $2 }
      END { for (k = 1; k <= rows; k++) {
        line = sprintf("  %-46s", name[k]); sub(/^  (TOTAL|MEMORY|CPU|FPS) /, "  ", line)
        for (v = 1; v <= n; v++) line = line sprintf(" %16s", (k, v) in value ? value[k, v] : "-")
        print line } }' "${summaries[@]}"
  fi
done
