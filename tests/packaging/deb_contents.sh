#!/usr/bin/env bash
# Builds the Debian package from a configured build folder, unpacks it into a scratch root and
# checks what a user would get: the program, hengchi-plan and the planner, their menu entries,
# metainfo and icons, and the packages they depend on.
#   deb_contents.sh BUILD_DIR APP_ID VERSION PLANNER_ID
set -euo pipefail
build=$1 id=$2 version=$3 planner=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
deb=$(echo "$work"/out/*.deb)
root=$work/root
dpkg-deb -x "$deb" "$root"

failures=0
expect() { if ! eval "$2"; then echo "FAILED: $1"; failures=$((failures + 1)); fi; }

expect "package version is $version" '[[ $(dpkg-deb -f "$deb" Version) == "$version" ]]'
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6gui6 libqt6core6 libc6 qt6-qpa-plugins qt6-translations-l10n fonts-noto-cjk; do
    expect "depends on $package" '[[ $depends == *"$package"* ]]'
done
expect "an executable program" '[[ -x $root/usr/bin/hengchi ]]'
expect "the program is stripped" '! readelf -S "$root/usr/bin/hengchi" | grep -q "\.symtab"'
# The command reaches Clp, libxlsxwriter and SQLite (the yard) through shlibdeps (their package
# names carry an ABI number that differs between Debian and Ubuntu).
for package in libclp libxlsxwriter libsqlite3; do
    expect "depends on $package" '[[ $depends == *"$package"* ]]'
done
expect "an executable hengchi-plan" '[[ -x $root/usr/bin/hengchi-plan ]]'
expect "hengchi-plan is stripped" '! readelf -S "$root/usr/bin/hengchi-plan" | grep -q "\.symtab"'
expect "hengchi-plan says its version" '[[ $("$root/usr/bin/hengchi-plan" --version) == "hengchi-plan $version" ]]'
printf '编号,直径,长度,根数\r\nKL1-1,25,6457,4\r\nKZ2-3,25,3180,6\r\n' >"$work/list.csv"
expect "hengchi-plan plans a list" '"$root/usr/bin/hengchi-plan" --seconds 5 "$work/list.csv" | grep -q "^合计"'
# FreeXL runs in a process of its own, found beside the installed programs.
expect "the .xls reader is installed" '[[ -x $root/usr/libexec/hengchi/hengchi-xls-reader ]]'
expect "hengchi-plan reads an .xls through it" \
    '"$root/usr/bin/hengchi-plan" --seconds 5 "$(dirname "$0")/../formats/data/list.xls" | grep -q "^合计"'
expect "a menu entry" '[[ -f $root/usr/share/applications/$id.desktop ]]'
expect "the menu entry starts the program" 'grep -qx "Exec=hengchi" "$root/usr/share/applications/$id.desktop"'
expect "the menu entry names the icon" 'grep -qx "Icon=$id" "$root/usr/share/applications/$id.desktop"'
expect "the menu entry is valid" 'desktop-file-validate "$root/usr/share/applications/$id.desktop"'
expect "the metainfo is valid" 'appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" >/dev/null'
expect "the metainfo has the version" 'grep -q "release version=\"$version\"" "$root/usr/share/metainfo/$id.metainfo.xml"'
for size in 16 24 32 48 64; do
    icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png
    # The PNG header holds the width and height as 32-bit big-endian numbers at bytes 16..23.
    expect "a ${size}px icon" '[[ $(od -An -tx1 -j16 -N8 "$icon" | tr -d " \n") == $(printf "%08x%08x" "$size" "$size") ]]'
done
expect "a scalable icon" '[[ -f $root/usr/share/icons/hicolor/scalable/apps/$id.svg ]]'
expect "nothing outside /usr" '[[ $(ls "$root") == usr ]]'

# The planner, 衡尺下料: its program, its own menu entry and icons, and an action in the
# calculator's entry that starts it.
expect "depends on Qt's printing" '[[ $depends == *libqt6printsupport6* ]]'
expect "recommends the font that keeps PDF text copyable" '[[ $(dpkg-deb -f "$deb" Recommends) == *fonts-wqy-microhei* ]]'
expect "an executable planner" '[[ -x $root/usr/bin/hengchi-planner ]]'
expect "the planner is stripped" '! readelf -S "$root/usr/bin/hengchi-planner" | grep -q "\.symtab"'
entry=$root/usr/share/applications/$planner.desktop
expect "a menu entry for the planner" '[[ -f $entry ]]'
expect "it is named 衡尺下料" 'grep -qx "Name\[zh_CN\]=衡尺下料" "$entry"'
expect "it starts the planner with a file" 'grep -qx "Exec=hengchi-planner %f" "$entry"'
expect "it names the planner's icon" 'grep -qx "Icon=$planner" "$entry"'
expect "the planner's entry is valid" 'desktop-file-validate "$entry"'
expect "the planner's metainfo is valid" 'appstreamcli validate --no-net "$root/usr/share/metainfo/$planner.metainfo.xml" >/dev/null'
for size in 16 24 32 48 64; do
    icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/$planner.png
    expect "a ${size}px planner icon" '[[ $(od -An -tx1 -j16 -N8 "$icon" | tr -d " \n") == $(printf "%08x%08x" "$size" "$size") ]]'
done
expect "a scalable planner icon" '[[ -f $root/usr/share/icons/hicolor/scalable/apps/$planner.svg ]]'
expect "the calculator's entry opens the planner" 'grep -qx "Exec=hengchi-planner" "$root/usr/share/applications/$id.desktop"'

# The unpacked program starts and keeps running.
QT_QPA_PLATFORM=offscreen "$root/usr/bin/hengchi" >"$work/run.log" 2>&1 &
pid=$!
sleep 2
expect "the installed program runs" 'kill -0 "$pid" 2>/dev/null'
kill "$pid" 2>/dev/null || true
HOME=$work QT_QPA_PLATFORM=offscreen "$root/usr/bin/hengchi-planner" "$work/list.csv" >"$work/planner.log" 2>&1 &
pid=$!
sleep 2
expect "the installed planner runs" 'kill -0 "$pid" 2>/dev/null'
kill "$pid" 2>/dev/null || true

if ((failures > 0)); then
    exit 1
fi
echo "the package holds what it should"
