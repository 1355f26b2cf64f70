#!/usr/bin/env bash
# The built program in a real X server, driven by real X events: the first
# run in an empty folder, the close box, repeated starts that must leave the
# settings file unchanged (with and without a window manager), a window
# moved past the left edge, and a modal dialog that the window manager is
# asked to minimise: under openbox, which takes the main window along, and
# under twm, which minimises the dialog alone; the options dialog's first
# focus, and a double-click whose first click brings up the stalemate dialog
# under the pointer. Only the processes started here are ever ended.
set -euo pipefail
program=$(readlink -f "$1")
for tool in Xvfb xdotool xwininfo openbox twm; do
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done

work=$(mktemp -d)
log="$work/program.log"   # what the program prints, shown when the test fails
unset QT_QPA_PLATFORM
# xdotool matches window names as patterns in the locale's encoding: the
# Japanese titles of the dialogs are found only under a UTF-8 locale, which
# a bare environment (CI's, for one) does not set.
export LC_ALL=C.UTF-8
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
pids=()   # every copy of the program started here
cleanup() {
  local status=$?
  [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
  for started in ${pids[@]+"${pids[@]}"}; do kill "$started" 2>/dev/null || true; done
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
  pids+=("$pid")
  main=$(wait_window "TarnVole v1.1.4")
  sleep 0.3
}
click_close_box() {  # window id: the close box at the right end of its title bar
  local x y width
  read -r x y < <(client_xy "$1")
  width=$(xwininfo -id "$1" | awk '/Width:/{print $NF}')
  xdotool mousemove $((x + width - 9)) $((y - 10)) click 1
}
close_by_close_box() {
  click_close_box "$main"
  wait_exit "$pid"
}
our_window() {  # name -> prints the id of the shown window of that name of the program started last
  for _ in $(seq 100); do
    local id
    id=$(xdotool search --all --onlyvisible --pid "$pid" --name "^$1\$" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
wait_viewable() { for _ in $(seq 50); do viewable "$1" && return 0; sleep 0.1; done; return 1; }
wait_gone() { for _ in $(seq 50); do viewable "$1" || return 0; sleep 0.1; done; return 1; }
fixed_size() {  # window id: the smallest and largest sizes it asks for are the same
  local hints min max
  hints=$(xprop -id "$1" WM_NORMAL_HINTS)
  min=$(sed -n 's/.*minimum size: //p' <<<"$hints")
  max=$(sed -n 's/.*maximum size: //p' <<<"$hints")
  [ -n "$min" ] && [ "$min" = "$max" ]
}
toolbar_button() {  # index: a click on the toolbar button of that index (1, 2, 4, 6, 8, 13)
  local x y offset
  read -r x y < <(client_xy "$main")
  case $1 in 1) offset=21 ;; 2) offset=60 ;; 4) offset=107 ;; 6) offset=154 ;; 8) offset=201 ;; 13) offset=272 ;; esac
  xdotool mousemove $((x + offset)) $((y + 12)) click 1
}
open_records() {  # what the check says: sets $records to the dialog's id, or ""
  toolbar_button 13
  records=$(our_window "成績表") || records=""
  check "$1" test -n "$records"
}
quit_by_toolbar() {
  read -r x y < <(client_xy "$main")
  xdotool mousemove $((x + 60)) $((y + 12)) click 1   # the second toolbar button
  wait_exit "$pid"
}

# 1. First run in an empty folder: the damaged-file message, then the window.
(cd "$work" && exec "$program" >/dev/null 2>>"$log") & pid=$!
pids+=("$pid")
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

# 5. A window moved past the left edge, far enough to take the first
# toolbar button off the screen, is stored with a minus sign and comes back
# there: its caption can still be dragged.
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
# Back on the screen, for the clicks on the toolbar that follow.
xdotool windowmove "$main" 100 50
sleep 0.5
close_by_close_box

# 6. A modal dialog under a window manager: it belongs to the main window
# and keeps its size. Asked to minimise it, the window manager takes the
# board along (or leaves the dialog up): the board is never shown without
# the dialog it waits for. Restored, the two come back together; a click on
# the board leaves the dialog up; closed, the board answers again. With full
# auto stored as on, the options dialog opens on "する": a Space at once and
# its button store full auto as on again.
printf '%-8s' " 1" | dd of="$work/tarnvole.cfg" bs=8 count=1 conv=notrunc 2>/dev/null
start
open_records "the records button opens the records dialog"
if [ -n "$records" ]; then
  check "the records dialog is a transient of the main window" \
    grep -q "# $(printf '0x%x' "$main")\$" <(xprop -id "$records" WM_TRANSIENT_FOR)
  check "the records dialog tells the window manager it cannot be resized" fixed_size "$records"
  xdotool windowminimize "$records"
  sleep 0.5
  stranded() { viewable "$main" && ! viewable "$records"; }
  check "minimising the dialog does not leave the board alone on the screen" eval '! stranded'
  xdotool windowactivate "$main" 2>/dev/null || true
  check "the dialog comes back with the main window" wait_viewable "$records"
  check "the main window comes back too" wait_viewable "$main"
  read -r x y < <(client_xy "$main")
  xdotool mousemove $((x + 300)) $((y + 420)) click 1
  sleep 0.3
  check "a click on the board leaves the dialog up" viewable "$records"
  click_close_box "$records"
  check "the close box closes the dialog" wait_gone "$records"
  toolbar_button 4
  options=$(our_window "オプション") || options=""
  check "the board answers again: the options button opens its dialog" test -n "$options"
  if [ -n "$options" ]; then
    sleep 0.3
    xdotool key space
    read -r x y < <(client_xy "$options")
    xdotool mousemove $((x + 200)) $((y + 415)) click 1   # これでいい！
    check "the button closes the options dialog" wait_gone "$options"
    check "a Space as the options dialog opens leaves full auto on" test "$(record 1)" = " 1      "
  fi
fi
check "the program ends by its close box afterwards" close_by_close_box

# 7. Under twm, which minimises a transient without its main window: the
# dialog minimised alone comes back at once, and the board answers once it
# is closed by its OK button.
kill "$wm"; wait "$wm" 2>/dev/null || true; wm=""
# Windows are placed where they ask to be, not by the player's mouse. twm
# runs in the C locale: under UTF-8 it asks for a font set that Xvfb's
# fonts do not cover, and ends at once.
printf 'RandomPlacement\nUsePPosition "on"\nDecorateTransients\n' >"$work/twmrc"
LC_ALL=C twm -f "$work/twmrc" >"$work/twm.log" 2>&1 & wm=$!
sleep 1
check "twm runs" kill -0 "$wm"
records_ok() {  # a click on the OK button of the records dialog
  read -r x y < <(client_xy "$1")
  xdotool mousemove $((x + 172)) $((y + 207)) click 1
}
start
open_records "under twm the records button opens the records dialog"
if [ -n "$records" ]; then
  xdotool windowminimize "$records"
  sleep 0.5
  check "the dialog minimised alone comes back" wait_viewable "$records"
  check "the main window stays up" viewable "$main"
  sleep 0.3
  records_ok "$records"
  check "the OK button closes the dialog" wait_gone "$records"
  open_records "the board answers again: the records button opens its dialog"
  [ -n "$records" ] && records_ok "$records" && wait_gone "$records"
fi
check "the program ends by its toolbar afterwards" quit_by_toolbar

# 8. Still under twm: the ordered deck (strength 3) is lost by sending the
# foot cards of the first three columns to the free cells, and the lost board
# kept. A double-click on a card under where the stalemate dialog opens
# brings it up with its first click; the second, aimed at the card, must not
# press the dialog's upper button and deal anew.
printf '%-8s' " 3" | dd of="$work/tarnvole.cfg" bs=8 seek=3 count=1 conv=notrunc 2>/dev/null
start
read -r x y < <(client_xy "$main")
toolbar_button 1
sleep 1
for c in 0 1 2; do xdotool mousemove $((x + 49 + c * 77)) $((y + 302)) click --repeat 2 --delay 80 1; sleep 0.5; done
stuck=$(our_window "や～い！") || stuck=""
check "the lost deal brings up the stalemate dialog" test -n "$stuck"
if [ -n "$stuck" ]; then
  read -r dx dy < <(client_xy "$stuck")
  xdotool mousemove $((dx + 130)) $((dy + 155)) click 1   # keep the lost board
  check "its lower button closes it" wait_gone "$stuck"
  px=$((x + 357)) py=$((y + 258))   # the 6 of clubs at the foot of the fifth column
  check "the dialog's upper button lies over that card" \
    test $((px - dx)) -ge 7 -a $((px - dx)) -le 253 -a $((py - dy)) -ge 0 -a $((py - dy)) -le 106
  xdotool mousemove $px $py click --repeat 2 --delay 80 1
  sleep 1
  stuck=$(our_window "や～い！") || stuck=""
  check "the second click of the pair leaves the stalemate dialog up" test -n "$stuck"
  [ -n "$stuck" ] && xdotool mousemove $((dx + 130)) $((dy + 155)) click 1 && wait_gone "$stuck"
fi
check "the program ends by its toolbar after the lost deal" quit_by_toolbar

if [ "$failures" -ne 0 ]; then echo "$failures failed"; exit 1; fi
echo "all end-to-end checks passed"
