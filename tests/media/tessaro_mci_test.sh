#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# tessaro-mci from outside, over GStreamer: a generated MPEG-1 video and MP2 narration
# clip are opened with the control's own commands, played, paused, played to their end
# and closed, with the video's positions in frames.
set -euo pipefail
mci=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir -p "$dir/video" "$dir/sound/mp2"
ffmpeg -nostdin -loglevel error -f lavfi -i testsrc=size=352x288:rate=25 -t 2 \
    -c:v mpeg1video -f mpeg "$dir/video/a.mpg"
ffmpeg -nostdin -loglevel error -f lavfi -i sine=frequency=440:duration=1 -c:a mp2 \
    "$dir/sound/mp2/c1.mp2"
root=$(printf '%s' "$dir" | tr / '\\')

output=$("$mci" <<SCRIPT || true
open $root\\VIDEO\\a.mpg  alias video type mpegVideo  style child parent  0
set video time format frames
open $root\\sound\\mp2\\c1.mp2 alias Sound type mpegVideo
status video mode
status video Position
play video
play sound
sleep 300
status sound mode
pause video
status video mode
status video position
sleep 200
status video position
play video
sleep 2500
status video mode
status sound mode
close sound
status sound mode
open $root\\video\\none.mpg alias x
close all
status video mode
SCRIPT
)

mapfile -t lines <<<"$output"
fail() {
    printf 'tessaro-mci: %s\n--- output ---\n%s\n' "$1" "$output" >&2
    exit 1
}
expect() {  # line number (from 0), expected text
    [ "${lines[$1]-}" = "$2" ] || fail "line $1 is \"${lines[$1]-}\", expected \"$2\""
}

[ "${#lines[@]}" -eq 20 ] || fail "expected 20 lines, got ${#lines[@]}"
for i in 0 1 2 5 6; do expect "$i" "OK"; done
expect 3 "OK stopped"
expect 4 "OK 0"
expect 7 "OK playing"
expect 8 "OK"
expect 9 "OK paused"
[[ "${lines[10]}" =~ ^OK\ [0-9]+$ ]] || fail "no frame number in \"${lines[10]}\""
expect 11 "${lines[10]}"  # a paused video holds its frame
expect 12 "OK"
expect 13 "OK stopped"
expect 14 "OK stopped"
expect 15 "OK"
[[ "${lines[16]}" == "ERROR 263 "* ]] || fail "closed narration still answers: ${lines[16]}"
[[ "${lines[17]}" == "ERROR 275 "* ]] || fail "missing file opened: ${lines[17]}"
expect 18 "OK"
[[ "${lines[19]}" == "ERROR 263 "* ]] || fail "close all left the video open: ${lines[19]}"
