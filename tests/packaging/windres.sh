#!/usr/bin/env bash
# Compiles the Windows resource script with the cross resource compiler and checks that the
# icon and the product name 衡尺 (as UTF-16, the form Windows keeps it in) made it through.
#   windres.sh WINDRES RC_FILE
set -euo pipefail
windres=$1 rc=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$windres" --preprocessor=cpp -i "$rc" -O coff -o "$work/hengchi.res"
LC_ALL=C grep -F -q -a $'\x61\x88\x3a\x5c' "$work/hengchi.res" # 衡尺 in UTF-16LE
LC_ALL=C grep -F -q -a $'\x28\x00\x00\x00\x40\x00\x00\x00\x80\x00\x00\x00' "$work/hengchi.res" # the 64px image
echo "the resource script compiles"
