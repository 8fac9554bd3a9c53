#!/usr/bin/env bash
# Picks coefficients from their lists with the keyboard alone, on the built program under Xvfb:
# Alt+Down and F4 open a field's list, the arrow keys move in it, Enter picks and Esc closes it,
# and the keys go back to the field afterwards. Then the straight-bar example, with both of its
# coefficients picked by keys, is calculated and reads back 945.
#   pick_by_keys.sh PATH/TO/hengchi
set -euo pipefail

program=$1
source "$(dirname "$0")/own_display.sh" 1280x1024x24

"$program" >"$work/hengchi.log" 2>&1 &
app_pid=$!
wid=$(timeout 20 xdotool search --sync --name '衡尺' | head -n1)
sleep 0.5

# Client coordinates in pixels: a control's left and top in twips / 15, plus its group box's.
at() { xdotool mousemove --window "$wid" "$1" "$2"; }
# Into a field with one click, then the pointer out of the way of the list that opens under it.
focus() { at "$1" "$2"; xdotool click 1; sleep 0.1; at 450 395; sleep 0.1; }
# One key at a time, Return pressed and released apart so that the X server never holds it.
keys() {
    local key
    for key in "$@"; do
        if [[ $key == Return ]]; then
            xdotool keydown Return; xdotool keyup Return
        else
            xdotool key "$key"
        fi
        sleep 0.2
    done
}
read_field() {
    focus "$1" "$2"
    xdotool key ctrl+a ctrl+c; sleep 0.2
    xclip -o -selection clipboard 2>/dev/null </dev/null
}
failures=0
expect() { # what, got, wanted
    if [[ $2 == "$3" ]]; then
        echo "ok: $1: '$2'"
    else
        echo "FAILED: $1: '$2', expected '$3'"
        failures=$((failures + 1))
    fi
}

focus 109 66                                   # Text3, hook coefficient; nothing chosen yet
keys alt+Down Down Return
expect "Alt+Down, Down, Return in Text3" "$(read_field 109 66)" 6.25
keys F4 Down Return                            # on from the chosen 6.25
expect "F4, Down, Return in Text3" "$(read_field 109 66)" 4.87
keys F4 Down Escape                            # Esc leaves the field as it was ...
keys ctrl+a 3 period 5                         # ... and the keys go to the field again
expect "Esc, then typing in Text3" "$(read_field 109 66)" 3.5
keys alt+Down Return                           # the chosen item again, over the typed value
expect "Alt+Down, Return on the chosen 4.87" "$(read_field 109 66)" 4.87
keys alt+Down Up Return
expect "Alt+Down, Up, Return in Text3" "$(read_field 109 66)" 6.25

focus 377 37                                   # Text5, elongation coefficient
keys F4 Down Down Down Up Up Return
expect "F4, Down ×3, Up ×2, Return in Text5" "$(read_field 377 37)" 1.5

# Enter and Esc in the window itself start nothing: no message, no change, no list.
focus 109 39
xdotool type --delay 20 900                    # Text1, member length
keys Return Escape
expect "Enter and Esc in Text1" "$(read_field 109 39)" 900
if xdotool search --name '澄川工作室' >/dev/null 2>&1; then
    echo "FAILED: Enter or Esc in the window brought up a message"
    failures=$((failures + 1))
fi
focus 245 39; xdotool type --delay 20 25       # Text2, cover
focus 246 67; xdotool type --delay 20 10       # Text4, diameter

at 44 376; xdotool click 1                     # Command1, 计算
sleep 0.5
expect "Text6 after 计算" "$(read_field 378 66)" 945

kill -0 "$app_pid" # still running
if ((failures > 0)); then
    echo "$failures failed"
    exit 1
fi
echo "every pick by keys landed in its field, and the window computed 945"
