#!/usr/bin/env bash
# What scripts/install-deps would install on an empty machine, without one: the script runs with
# stand-ins for dpkg-query (nothing is installed), apt-get (records what it is asked for) and
# sudo first on PATH. It must ask for every package its sets name, and for the Debian package
# that owns each thing the build and the tests look up on this machine: the pkg-config modules
# and the packages and programs the CMake files find (read back from a configured build's
# cache), the compiler of the asan preset and its fuzzer runtime, the fonts, Qt's translations
# and its offscreen platform.
#   install_deps_test.sh INSTALL_DEPS SOURCE_DIR BUILD_DIR
set -euo pipefail
script=$1 source=$2 build=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

# --- what the script asks for on an empty machine
mkdir "$work/bin"
cat >"$work/bin/dpkg-query" <<'EOF'
#!/bin/sh
exit 1
EOF
cat >"$work/bin/apt-get" <<EOF
#!/bin/sh
echo "\$*" >>"$work/apt-get.log"
EOF
cat >"$work/bin/sudo" <<'EOF'
#!/bin/sh
exec "$@"
EOF
chmod +x "$work/bin"/*
if ! PATH="$work/bin:$PATH" bash "$script" build run test >"$work/out" 2>&1 </dev/null; then
    cat "$work/out"
    fail "install-deps build run test exits with an error on an empty machine"
fi
touch "$work/apt-get.log"
asked=$(awk '$1 == "install" { for (i = 2; i <= NF; i++) if ($i !~ /^-/) print $i }' \
    "$work/apt-get.log" | sort -u)
grep -q '^update' "$work/apt-get.log" || fail "apt-get update is not run before installing"

is_asked() { grep -qx -- "$1" <<<"$asked"; }

# --- every package of every set
if listed=$(bash "$script" --list build run test 2>&1); then
    for package in $listed; do
        is_asked "$package" || fail "package $package of its sets is not asked for"
    done
else
    fail "install-deps --list build run test: $listed"
fi

# A package is provided when it is asked for, or when a package asked for depends on it (clang
# on clang-14): what apt-get would bring along. The real dpkg-query answers here.
provided=$(
    for package in $asked; do
        echo "$package"
        dpkg-query -W -f='${Depends}, ${Pre-Depends}\n' "$package" 2>/dev/null |
            tr ',|' '\n\n' | sed 's/([^)]*)//; s/:any//; s/^ *//; s/ *$//' | grep -v '^$' || true
    done | sort -u
)

# The packages that own a file, one a line, as dpkg knows them (through a symbolic link if need
# be); a folder may have several.
owners() {
    local path=$1 found
    for candidate in "$path" "$(readlink -f "$path")"; do
        if found=$(dpkg-query -S "$candidate" 2>/dev/null | grep -v '^diversion' | head -n1); then
            sed 's/: .*//; s/, /\n/g' <<<"$found" | sed 's/:.*//'
            return
        fi
    done
    return 1
}

# Essential packages (dpkg itself, say) are on every Debian machine.
essential() { [[ $(dpkg-query -W -f='${Essential}' "$1" 2>/dev/null) == yes ]]; }

needs() { # needs WHAT PATH
    local what=$1 path=$2 package
    if [[ -z $path || ! -e $path ]]; then
        fail "$what: not found on this machine ($path)"
        return
    fi
    local packages
    if ! packages=$(owners "$path"); then
        fail "$what: $path belongs to no Debian package"
        return
    fi
    for package in $packages; do
        if grep -qx -- "$package" <<<"$provided" || essential "$package"; then
            return
        fi
    done
    fail "$what needs $(tr '\n' ' ' <<<"$packages")($path), not asked for"
}

cmake_files=$(find "$source" -path "$source/build" -prune -o \
    \( -name CMakeLists.txt -o -name '*.cmake' \) -print)

# --- pkg-config modules: pkg_check_modules(PREFIX [REQUIRED] [IMPORTED_TARGET] … MODULES)
modules=$(grep -ho 'pkg_check_modules([^)]*)' $cmake_files |
    sed 's/pkg_check_modules(//; s/)//' |
    awk '{ for (i = 2; i <= NF; i++) if ($i !~ /^(REQUIRED|QUIET|IMPORTED_TARGET|GLOBAL|NO_CMAKE_PATH|NO_CMAKE_ENVIRONMENT_PATH)$/) print $i }' |
    sed 's/[<>=].*//' | sort -u)
[[ -n $modules ]] || fail "no pkg-config module found in the CMake files"
for module in $modules; do
    needs "pkg-config module $module" "$(pkg-config --path "$module" 2>/dev/null || true)"
done

# --- packages and programs the CMake files find, where this build's cache says they are
cache=$build/CMakeCache.txt
[[ -f $cache ]] || fail "no CMakeCache.txt in $build"
cached() { sed -n "s/^$1:[A-Z]*=//p" "$cache" | head -n1; }
for name in $(grep -ho 'find_package([A-Za-z0-9_]*' $cmake_files | sed 's/find_package(//' | sort -u); do
    case $name in
    PkgConfig | Threads) continue ;; # pkg-config is asked for by name; threads are libc's
    Qt6)
        for dir in $(sed -n 's/^\(Qt6[A-Za-z]*_DIR\):PATH=.*/\1/p' "$cache"); do
            needs "find_package(Qt6): $dir" "$(cached "$dir")/${dir%_DIR}Config.cmake"
        done
        ;;
    *)
        path=$(cached "${name}_DIR")
        [[ -z $path || $path == *NOTFOUND ]] || path=$path/${name}Config.cmake
        [[ -n $path && $path != *NOTFOUND ]] || path=$(cached "${name}_LIBRARY_RELEASE")
        [[ -n $path && $path != *NOTFOUND ]] || path=$(cached "${name}_LIBRARY")
        needs "find_package($name)" "$path"
        ;;
    esac
done
for variable in $(grep -ho 'find_program([A-Z_]*' $cmake_files | sed 's/find_program(//' | sort -u); do
    needs "find_program($variable)" "$(cached "$variable")"
done

# --- what scripts/test and the tests use beside CMake
clang=$(command -v clang++ || true)
needs "the asan preset's compiler" "$clang"
if [[ -n $clang ]]; then
    needs "libFuzzer's runtime" "$(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a 2>/dev/null ||
        clang++ --print-runtime-dir)"
fi
for family in "Noto Sans CJK SC" "WenQuanYi Micro Hei"; do
    file=$(fc-list "$family" file 2>/dev/null | head -n1 | sed 's/: *$//')
    needs "the font $family" "$file"
done
needs "Qt's Chinese translations" "$(find /usr/share/qt6/translations -name 'qtbase_zh_CN.qm' 2>/dev/null | head -n1)"
needs "Qt's offscreen platform" "$(find /usr/lib -path '*qt6/plugins/platforms/libqoffscreen.so' 2>/dev/null | head -n1)"

if [[ $failures -gt 0 ]]; then
    echo "asked for: $(tr '\n' ' ' <<<"$asked")"
    exit 1
fi
echo "install-deps asks for all $(wc -l <<<"$asked") packages the build and the tests need"
