#!/usr/bin/env bash
# One check of the unpacked Debian package.
# Usage: check_package.sh CHECK ROOT PACKAGE_DIR WINDOWS_CHECK_PROGRAM VERSION BUILD_DIR SOURCE_DIR
set -euo pipefail
check=$1 root=$2 package_dir=$3 windows_check=$4 version=$5 build_dir=$6 source_dir=$7

app_id=org.valdrex.Valdrex
bin=$root/usr/bin
module_folder=$root/usr/libexec/valdrex
share=$root/usr/share
data_folder=$share/valdrex

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The text must be one whole line of the output.
expect_line() {
    grep -Fxq -- "$2" <<<"$1" || fail "no line '$2' in:"$'\n'"$1"
}

check_control() {
    local deb=("$package_dir"/*.deb) fields depends line
    fields=$(dpkg-deb -f "${deb[0]}" Package Version Section)
    depends=$(dpkg-deb -f "${deb[0]}" Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//')
    for line in "Package: valdrex" "Version: $version" "Section: math"; do
        expect_line "$fields" "$line"
    done
    # Each installed file's bytes in KiB, rounded up, and 1 KiB for every folder.
    local size
    size=$(find "$root" -mindepth 1 -printf '%y %s\n' |
        awk '{ s += $1 == "d" ? 1 : int(($2 + 1023) / 1024) } END { print s }')
    expect_line "$(dpkg-deb -f "${deb[0]}" Installed-Size)" "$size"
    for line in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins libc6 libstdc++6 \
        libflint17 libflint-arb2 libqcustomplot2.1-qt6 libqt6svg6; do
        expect_line "$depends" "$line"
    done
}

check_files() {
    for program in valdrex valdrex-solve; do
        [ -f "$bin/$program" ] && [ -x "$bin/$program" ] || fail "$bin/$program is no program"
    done
    for file in "$data_folder/Valdrex.hlp" "$data_folder/readme.txt" \
        "$module_folder/valdrex-all-roots.so" "$module_folder/valdrex-plot.so" \
        "$data_folder"/images/plot-{double-root,degree-12}.png \
        "$share/icons/hicolor/scalable/apps/valdrex.svg" "$share/doc/valdrex/json.md" \
        "$share/bash-completion/completions/valdrex-solve" \
        "$share"/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/valdrex.png; do
        [ -s "$file" ] || fail "$file missing or empty"
    done
    for page in valdrex valdrex-solve; do
        gzip -t "$share/man/man1/$page.1.gz" || fail "man page $page"
    done
}

# No errors and no warnings; information tags are allowed.
check_lintian() {
    local deb=("$package_dir"/*.deb) report
    report=$(lintian --fail-on error,warning "${deb[0]}" 2>&1) || fail "lintian:"$'\n'"$report"
}

check_solve() {
    expect_line "$("$bin/valdrex-solve" 1 -3 2)" "x1 = 1"
    expect_line "$("$bin/valdrex-solve" "(x - 2)^2 = 1")" "x^2 - 4·x + 3 = 0"
    expect_line "$("$bin/valdrex-solve" --version)" "valdrex-solve $version"
    # The all-roots module is loaded from the installed tree, wherever that was unpacked.
    expect_line "$("$bin/valdrex-solve" --method all --digits 5 1 0 -2 1/2)" "x1 =-1.5257"
    local db
    db=$(mktemp)
    "$bin/valdrex-solve" --method exact --save "$db" --overwrite 1 -3 2 >/dev/null
    [ "$(cat "$db")" = $'x^2 - 3\xB7x + 2 = 0; S={ 2; 1}\r' ] || fail "saved record: $(od -c "$db")"
    rm -f "$db"
}

# The settings skip the welcome window, so the main window loads and creates the database file
# in the home folder.
check_app_starts() {
    home=$(mktemp -d) # not local: the exit trap removes it
    trap 'rm -rf "$home"' EXIT
    mkdir -p "$home/Valdrex"
    printf '[Options]\nWelcome=0\n' >"$home/Valdrex/Valdrex.ini"
    HOME=$home XDG_CONFIG_HOME=$home QT_QPA_PLATFORM=offscreen "$bin/valdrex" &
    local pid=$!
    sleep 2
    kill -0 "$pid" 2>/dev/null || fail "valdrex ended within 2 s"
    kill -TERM "$pid"
    wait "$pid" || true
    [ -f "$home/valdrexdb.txt" ] || fail "the main window did not open (no database file)"
}

# A program copied out of the tree, whose modules are missing, says so: it never loads those of
# the build it came from.
check_lone_program() {
    folder=$(mktemp -d) # not local: the exit trap removes it
    trap 'rm -rf "$folder"' EXIT
    cp "$bin/valdrex-solve" "$folder/"
    local output
    output=$("$folder/valdrex-solve" --method all 1 0 -2 1/2 2>&1) && fail "solved without the module"
    local expected
    expected="valdrex-all-roots.so not found in $(dirname "$(readlink -f "$folder")")/libexec/valdrex"
    grep -Fq "$expected nor beside the program" <<<"$output" ||
        fail "no word of the missing module in: $output"
}

# No installed file holds a path of the build: a program must find its files relative to itself.
check_build_paths() {
    local found
    found=$(grep -rlF -e "$build_dir" -e "$source_dir" "$root" || true)
    [ -z "$found" ] || fail "the build's path is in:"$'\n'"$found"
}

# The check program goes beside the installed programs, as one of them.
check_windows() {
    name=$(basename "$windows_check") # not local: the exit trap uses it
    trap 'rm -f "$bin/$name"' EXIT
    cp "$windows_check" "$bin/$name"
    VALDREX_INSTALLED_FOLDER=$(readlink -f "$bin") VALDREX_INSTALLED_DATA=$(readlink -f "$data_folder") \
        "$bin/$name"
}

check_desktop_entry() {
    local entry=$share/applications/$app_id.desktop report
    report=$(desktop-file-validate "$entry" 2>&1) || fail "$report"
    [ -z "$report" ] || fail "$report" # warnings and hints too
    [ -x "$bin/$(sed -n 's/^Exec=//p' "$entry")" ] || fail "Exec is not an installed program"
    [ -f "$share/icons/hicolor/scalable/apps/$(sed -n 's/^Icon=//p' "$entry").svg" ] ||
        fail "Icon is not installed"
}

check_metainfo() {
    local metainfo=$share/metainfo/$app_id.metainfo.xml
    appstreamcli validate --no-net "$metainfo"
    grep -Fq "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        fail "the launchable is not the installed desktop entry"
}

# The installed completion offers the installed program's options, its methods after --method
# and file names after --save.
check_completion() {
    local script=$share/bash-completion/completions/valdrex-solve
    # shellcheck disable=SC2016
    local words='
        COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
        _valdrex_solve
        printf "%s\n" "${COMPREPLY[@]}"'
    complete_words() {
        (cd "$root" && bash -c "source '$script'; $words" sh "$bin/valdrex-solve" "$@")
    }
    expect_line "$(complete_words --me)" "--method"
    expect_line "$(complete_words --batch --jo)" "--jobs"
    local methods
    methods=$(complete_words --method "" | tr '\n' ' ')
    [ "$methods" = "exact rational bairstow bisection newton all " ] || fail "methods: $methods"
    expect_line "$(complete_words --method = ne)" "newton"
    expect_line "$(complete_words --save us)" "usr"
    [ -z "$(complete_words --digits "")" ] || fail "a value of --digits was completed"
}

"check_$check"
