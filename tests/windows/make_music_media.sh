#!/usr/bin/env bash
# Makes the media the music tests play: a one-second tone as WAV and as MP3,
# and an eight-second one as MP3, in a folder and under names that hold
# blanks.
# Usage: make_music_media.sh FOLDER
set -euo pipefail
out=$1
for tool in sox lame; do
  command -v "$tool" >/dev/null || { echo "$tool is missing; tools/setup.sh installs it" >&2; exit 1; }
done
mkdir -p "$out"
sox -q -n -r 44100 -c 2 -b 16 "$out/tone one.wav" synth 1 sine 440 vol 0.3
lame --quiet "$out/tone one.wav" "$out/tone one.mp3"
# Long enough to be paused well inside it and resumed.
sox -q -n -r 44100 -c 2 -b 16 "$out/tone long.wav" synth 8 sine 330 vol 0.3
lame --quiet "$out/tone long.wav" "$out/tone long.mp3"
rm "$out/tone long.wav"
# Named with letters no ANSI code page of ours spells.
cp "$out/tone one.mp3" "$out/tone 〜 é.mp3"
cp "$out/tone one.wav" "$out/tone 〜 é.wav"
