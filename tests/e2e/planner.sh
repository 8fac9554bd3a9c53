#!/usr/bin/env bash
# Drives the planner as a person would, with a real (X server) keyboard and mouse under Xvfb:
# pastes a cutting list copied as from a spreadsheet, presses F5, exports the cutting sheet as
# a PDF through the file dialog, and reads the totals back from the PDF's text.
#   planner.sh PATH/TO/hengchi-planner
#
# The list is small enough to plan by hand: Φ12 6000×4 and 3000×4 is 36000 mm of pieces, three
# 12000 mm bars cut without waste; Φ25 4500×6, duplicated with Ctrl+D, is 54000 mm, six 9000 mm
# bars. So 9 bars and 90000 mm are bought, and no plan buys less.
set -euo pipefail

program=$1
source "$(dirname "$0")/own_display.sh" 1400x900x24
# A home of our own, for the list of recent files.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config
mkdir -p "$HOME"
unset QT_QPA_PLATFORM QT_SCALE_FACTOR

"$program" >"$work/planner.log" 2>&1 &
app_pid=$!
wid=$(timeout 20 xdotool search --sync --name '衡尺下料' | head -n1)
sleep 0.5

printf '编号\t直径\t长度\t根数\nL1\t12\t6000\t4\nL2\t12\t3000\t4\nK1\t25\t4500\t6\n' |
    xclip -i -selection clipboard >/dev/null 2>&1
xdotool mousemove --window "$wid" 60 118 click 1   # the first cell of the list
sleep 0.2
xdotool key ctrl+v
sleep 0.3
# Ctrl+D on K1 duplicates it: Φ25 is then 4500×12, six 9000 mm bars.
xdotool mousemove --window "$wid" 60 168 click 1
sleep 0.2
xdotool key ctrl+d
sleep 0.3
xdotool key F5
sleep 3

pdf=$work/sheet.pdf
xdotool key ctrl+shift+e                           # 导出 PDF: the file dialog opens
sleep 1.5
xdotool type --delay 20 "$pdf"
xdotool keydown Return
xdotool keyup Return
for _ in $(seq 50); do [[ -s $pdf ]] && break; sleep 0.2; done

kill -0 "$app_pid" # still running
[[ -s $pdf ]] || { echo "no PDF was written"; cat "$work/planner.log"; exit 1; }
text=$(pdftotext -layout "$pdf" -)
failures=0
expect() {
    if grep -qF -- "$1" <<<"$text"; then
        echo "found: $1"
    else
        echo "MISSING: $1"
        failures=$((failures + 1))
    fi
}
expect "钢筋下料单"
expect "Φ12 12000×3；Φ25 9000×6；共 9 根，90000 mm"
expect "全部最优"
expect "L1 6000×2"
expect "K1 4500×2"
if ! pdffonts "$pdf" | awk 'NR > 2 && $(NF - 4) != "yes" { bad = 1 } END { exit bad }'; then
    echo "a font is not embedded:"; pdffonts "$pdf"; failures=$((failures + 1))
fi
if grep -q "Ambiguous shortcut" "$work/planner.log"; then
    echo "two commands share a key:"; grep "Ambiguous shortcut" "$work/planner.log"
    failures=$((failures + 1))
fi
if ((failures > 0)); then
    echo "--- the PDF's text:"; echo "$text"
    exit 1
fi
echo "the planner pasted, optimised and exported the sheet"
