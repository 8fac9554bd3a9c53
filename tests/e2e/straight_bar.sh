#!/usr/bin/env bash
# Drives the built program as a person would, with a real (X server) mouse and keyboard under
# Xvfb: types the straight-bar example, picks the hook coefficient from its list with a real
# double-click, presses 计算 and reads the cutting length back from the result field.
#   straight_bar.sh PATH/TO/hengchi
set -euo pipefail

program=$1
source "$(dirname "$0")/own_display.sh" 1280x1024x24

"$program" >"$work/hengchi.log" 2>&1 &
app_pid=$!
wid=$(timeout 20 xdotool search --sync --name '衡尺' | head -n1)
sleep 0.5

# Client coordinates in pixels: a control's left and top in twips / 15, plus its group box's.
at() { xdotool mousemove --window "$wid" "$1" "$2"; }
type_into() { at "$1" "$2"; xdotool click 1; sleep 0.1; xdotool type --delay 20 "$3"; }
read_field() {
    at "$1" "$2"; xdotool click 1; sleep 0.1
    xdotool key ctrl+a ctrl+c; sleep 0.2
    xclip -o -selection clipboard 2>/dev/null </dev/null
}

type_into 109 39 900   # Text1, member length
type_into 245 39 25    # Text2, cover
type_into 246 67 10    # Text4, diameter
type_into 377 37 1.5   # Text5, elongation coefficient

at 109 66; xdotool click --repeat 2 --delay 80 1   # Text3: its list opens under it
sleep 0.5
at 100 86; xdotool click 1                         # the first item, 6.25
sleep 0.3
hook=$(read_field 109 66)

at 44 376; xdotool click 1                         # Command1, 计算
sleep 0.5
result=$(read_field 378 66)                        # Text6

echo "Text3: '$hook'  Text6: '$result'"
kill -0 "$app_pid"   # still running
if [[ $hook == 6.25 && $result == 945 ]]; then
    echo "the window computed 945"
else
    echo "expected Text3 6.25 and Text6 945"
    exit 1
fi
