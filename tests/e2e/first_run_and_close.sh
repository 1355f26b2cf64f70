#!/usr/bin/env bash
# The built program in a real X server, driven by real X events: the first
# run in an empty folder, the close box, repeated starts that must leave the
# settings file unchanged (with and without a window manager), and a window
# moved to a negative left edge.
set -euo pipefail
program=$(readlink -f "$1")
for tool in Xvfb xdotool xwininfo openbox; do
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done

work=$(mktemp -d)
log="$work/program.log"   # what the program prints, shown when the test fails
unset QT_QPA_PLATFORM
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# Xvfb picks a free display itself and names it on fd 3 once it accepts
# connections, so a display number held by another server (or by a stale
# lock whose process number was reused) can never be taken for ours.
# -noreset: by default the server resets whenever its last client leaves
# (xdpyinfo below, or a program that just quit), and a program starting
# during that reset cannot connect.
exec 3> >(cat > "$work/display")
Xvfb -displayfd 3 -noreset -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 & xvfb=$!
exec 3>&-
wm=""
cleanup() {
  local status=$?
  [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
  pkill -f "^$program" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  if [ "$status" -ne 0 ]; then
    echo "--- Xvfb said:"; cat "$work/xvfb.log" 2>/dev/null || true
    echo "--- the program said:"; cat "$log" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "FAILED: Xvfb did not start"; exit 1; }
export DISPLAY=":$(head -1 "$work/display")"
xdpyinfo >/dev/null || { echo "FAILED: cannot reach the X server on $DISPLAY"; exit 1; }

failures=0
check() {  # description, command...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

defaults() {
  for t in " 0" " 0" " 2" " 2" " 1" " 1" " 0" " 0" " 0" " 0" " 0" " 0" " 0" " 0" \
           " 3600" " 0" " 0" " 0" " 999" " 0" " 0" " 0" " 1000" " 1000" " 7980" " 9705"; do
    printf '%-8s' "$t"
  done
}
record() { dd if="$work/tarnvole.cfg" bs=8 skip=$(($1 - 1)) count=1 2>/dev/null; }

wait_window() {  # name -> prints the window id
  for _ in $(seq 100); do
    local id
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "FAILED: no window named \"$1\" appeared" >&2
  return 1
}
wait_exit() {
  for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  return 1
}
client_xy() {  # window id -> "x y" of the client area
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF} END{print x, y}'
}
start() {
  (cd "$work" && exec "$program" >/dev/null 2>>"$log") & pid=$!
  main=$(wait_window "TarnVole v1.1.4")
  sleep 0.3
}
close_by_close_box() {
  read -r x y < <(client_xy "$main")
  local width
  width=$(xwininfo -id "$main" | awk '/Width:/{print $NF}')
  xdotool mousemove $((x + width - 9)) $((y - 10)) click 1
  wait_exit "$pid"
}
quit_by_toolbar() {
  read -r x y < <(client_xy "$main")
  xdotool mousemove $((x + 60)) $((y + 12)) click 1   # the second toolbar button
  wait_exit "$pid"
}

# 1. First run in an empty folder: the damaged-file message, then the window.
(cd "$work" && exec "$program" >/dev/null 2>>"$log") & pid=$!
box=$(wait_window "TarnVole")
check "the first run shows a message box before the main window" \
  test -z "$(xdotool search --onlyvisible --name '^TarnVole v1.1.4$' 2>/dev/null || true)"
sleep 0.5
xdotool mousemove $(( $(client_xy "$box" | cut -d' ' -f1) + 20 )) $(( $(client_xy "$box" | cut -d' ' -f2) + 10 )) click 1
xdotool key Return
main=$(wait_window "TarnVole v1.1.4")
check "the main window opens after the message" test -n "$main"
check "the default file is written byte for byte" cmp -s "$work/tarnvole.cfg" <(defaults)

# 2. The close box, under a window manager.
openbox >/dev/null 2>&1 & wm=$!
sleep 1
check "closing through the close box ends the program" close_by_close_box
check "closing leaves the file unchanged" cmp -s "$work/tarnvole.cfg" <(defaults)

# 3. Five starts and closes without moving, with a window manager...
for i in 1 2 3 4 5; do start; close_by_close_box; done
check "five closes with a window manager leave the file unchanged" cmp -s "$work/tarnvole.cfg" <(defaults)

# 4. ... and without one, quitting through the toolbar.
kill "$wm"; wait "$wm" 2>/dev/null || true; wm=""
sleep 0.5
for i in 1 2 3 4 5; do start; quit_by_toolbar; done
check "five quits without a window manager leave the file unchanged" cmp -s "$work/tarnvole.cfg" <(defaults)

# 5. A window moved to a negative left edge is stored with a minus sign and
# comes back there.
openbox >/dev/null 2>&1 & wm=$!
sleep 1
start
xdotool windowmove "$main" -100 50
sleep 0.5
read -r moved_x moved_y < <(client_xy "$main")
close_by_close_box
check "the negative left edge is stored with a minus sign" test "$(record 24)" = "-1500   "
start
read -r back_x back_y < <(client_xy "$main")
check "the window comes back at the same place ($moved_x,$moved_y -> $back_x,$back_y)" \
  test "$moved_x $moved_y" = "$back_x $back_y"
close_by_close_box

if [ "$failures" -ne 0 ]; then echo "$failures failed"; exit 1; fi
echo "all end-to-end checks passed"
