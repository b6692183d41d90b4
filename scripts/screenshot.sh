#!/usr/bin/env bash
# Makes docs/screenshot.png: the main window after a 北京 to 上海 query, typed
# as a user types it (pinyin initials, arrow down, Enter), on a virtual X
# server with a window manager.
#   scripts/screenshot.sh [PROGRAM] [OUTPUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/src/vormek}
out=${2:-docs/screenshot.png}
bash scripts/install-deps.sh screenshot
if [ ! -x "$program" ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j "$(nproc)" --target vormek
fi

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
twm >/dev/null 2>&1 &
pids+=($!)
# A settings folder of its own: the user's choices stay untouched.
export XDG_CONFIG_HOME=$work/config
LANG=C.UTF-8 "$program" >/dev/null 2>&1 &
pids+=($!)

window=$(xdotool search --sync --onlyvisible --name '维墨克时刻表' | head -1)
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
sleep 2  # the timetable loads behind the window
# 发站: the first station box of the 站站查询 group.
xdotool mousemove --window "$window" 100 449 click 1
sleep 0.3
for station in bj sh; do
  xdotool type --delay 80 "$station"
  sleep 0.5
  xdotool key Down Return
  sleep 0.5
done
# The chain 发站 -> 到站 -> 查询 ends on the button; Enter presses it.
xdotool key Return
sleep 1
xdotool mousemove --window "$window" 600 30
sleep 0.3
mkdir -p "$(dirname "$out")"
xwd -silent -id "$window" | convert xwd:- "png:$out"
echo "$out"
