# Sourced by the end-to-end scripts: a scratch folder and an X display of their own, never one
# already in use, both gone when the script ends however it ends. Sets `work` and DISPLAY; the
# script sets `app_pid` when it starts the program, so that the program is stopped too.
#   source own_display.sh SCREEN        (say 1280x1024x24)
work=$(mktemp -d)
xvfb_pid= app_pid=
cleanup() {
    [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null || true
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 50); do [[ -s $work/display ]] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"
unset QT_QPA_PLATFORM
