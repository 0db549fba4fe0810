#!/usr/bin/env bash
# Starts the real pictarium under Xvfb with a default base, takes a
# screenshot, checks that the first record's picture shows inside PicShow
# and that the window has its size, place and caption, then closes it with
# its "&Fermer" button.
# Usage: smoke_test.sh PICTARIUM PICTARIUM_CLI X11_CLICK SCREENSHOT
set -euo pipefail
pictarium=$1
cli=$2
click=$3
screenshot=$4

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "smoke test: $*" >&2
  [ -f "$work/app.log" ] && cat "$work/app.log" >&2
  [ -s "$work/xvfb.log" ] && sed 's/^/Xvfb: /' "$work/xvfb.log" >&2
  exit 1
}

# The program's folder is the executable's: give it a copy with the pointer
# file beside it, naming a base of one 200 x 100 magenta picture.
cp "$pictarium" "$work/pictarium"
convert -size 200x100 xc:'#FF00FF' "$work/magenta.png"
"$cli" create "$work/smoke.bdp" >/dev/null
"$cli" add "$work/smoke.bdp" "$work/magenta.png" "Carré magenta" >/dev/null
printf '%s' "$work/smoke.bdp" >"$work/default.tsi"

# Without -noreset the server resets each time the polling xwininfo below
# leaves it alone, and drops any client that connects meanwhile: a slow
# starting pictarium (under ASan) then fails to open the display.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"

"$work/pictarium" >"$work/app.log" 2>&1 &
app_pid=$!

# A sanitized build on a busy machine can take several seconds to show.
window=
for _ in $(seq 300); do
  window=$(xwininfo -name "Tessaline - Pictarium" 2>/dev/null | awk '/Window id:/ {print $4}') || true
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || fail "no window captioned \"Tessaline - Pictarium\""

info=$(xwininfo -id "$window")
value() { awk -v key="$1" -F: '$1 ~ key {gsub(/ /, "", $2); print $2}' <<<"$info"; }
left=$(value "Absolute upper-left X")
top=$(value "Absolute upper-left Y")
width=$(value "Width")
height=$(value "Height")
# 5895 x 6135 twips inside; 750 twips from the right and bottom edges for
# the 6015 x 6540 twips of the whole window.
[ "${width}x${height}" = "393x409" ] || fail "window is ${width}x${height}, not 393x409"
[ "${left},${top}" = "573,282" ] || fail "window is at ${left},${top}, not 573,282"

# PicShow's inside: panel at (16, 32), box at (8, 40), a border of 2.
inside_x=$((left + 16 + 8 + 2))
inside_y=$((top + 32 + 40 + 2))
box="325x181+${inside_x}+${inside_y}"
drawn=
for _ in $(seq 50); do
  import -window root "$screenshot"
  drawn=$(convert "$screenshot" -crop "$box" +repage -fill black +opaque '#FF00FF' -format '%@' info:)
  [ "$drawn" = "200x100+62+40" ] && break
  sleep 0.1
done
[ "$drawn" = "200x100+62+40" ] || fail "picture drawn at ${drawn:-nowhere}, not 200x100+62+40"
corner=$(convert "$screenshot" -crop "$box" +repage -format '%[hex:p{0,0}]' info:)
[ "$corner" = "FFFFFF" ] || fail "PicShow's background is #$corner, not white"

# "&Fermer" sits at (304, 376), 81 x 25.
"$click" "$window" 344 388
for _ in $(seq 200); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$app_pid" 2>/dev/null; then
  fail "\"&Fermer\" did not end the program"
fi
status=0
wait "$app_pid" || status=$?
app_pid=
[ "$status" -eq 0 ] || fail "pictarium ended with status $status"
echo "smoke test: window, picture and close button as expected; screenshot in $screenshot"
