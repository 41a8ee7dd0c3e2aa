#!/usr/bin/env bash
# One check of the unpacked Debian package.
# Usage: check_package.sh CHECK ROOT PACKAGE_DIR WINDOWS_CHECK_PROGRAM VERSION
set -euo pipefail
check=$1 root=$2 package_dir=$3 windows_check=$4 version=$5

app_id=org.valdrex.Valdrex
bin=$root/usr/bin
program_folder=$root/usr/lib/valdrex
share=$root/usr/share

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# The text must be one whole line of the output.
expect_line() {
    local output=$1 line=$2
    grep -Fxq -- "$line" <<<"$output" || fail "no line '$line' in:"$'\n'"$output"
}

check_control() {
    local deb=("$package_dir"/*.deb)
    [ "$(dpkg-deb -f "${deb[0]}" Package)" = valdrex ] || fail "package name"
    [ "$(dpkg-deb -f "${deb[0]}" Version)" = "$version" ] || fail "version"
    [ "$(dpkg-deb -f "${deb[0]}" Section)" = math ] || fail "section"
    local depends
    depends=$(dpkg-deb -f "${deb[0]}" Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//')
    for package in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins libc6 libstdc++6; do
        expect_line "$depends" "$package"
    done
}

check_files() {
    for program in valdrex valdrex-solve; do
        [ -L "$bin/$program" ] || fail "$bin/$program is not a link"
        # Relative, so that the tree works wherever it is unpacked.
        [ "$(readlink "$bin/$program")" = "../lib/valdrex/$program" ] ||
            fail "$bin/$program points to $(readlink "$bin/$program")"
        [ "$(readlink -f "$bin/$program")" = "$(readlink -f "$program_folder")/$program" ] ||
            fail "$bin/$program does not resolve into the program's folder"
        [ -x "$program_folder/$program" ] || fail "$program_folder/$program is not executable"
    done
    for file in Valdrex.hlp readme.txt; do
        [ -s "$program_folder/$file" ] || fail "$program_folder/$file missing or empty"
    done
    [ -s "$share/icons/hicolor/scalable/apps/valdrex.svg" ] || fail "scalable icon"
    for size in 16 32 48 64 128 256; do
        [ -s "$share/icons/hicolor/${size}x$size/apps/valdrex.png" ] || fail "${size}px icon"
    done
    gzip -t "$share/man/man1/valdrex-solve.1.gz" || fail "man page"
}

check_solve() {
    expect_line "$("$bin/valdrex-solve" 1 -3 2)" "x1 = 2"
    expect_line "$("$bin/valdrex-solve" --version)" "valdrex-solve $version"
    # Saving loads the database file functions from the program's folder.
    local db
    db=$(mktemp)
    "$bin/valdrex-solve" --save "$db" --overwrite 1 -3 2 >/dev/null
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
    if ! kill -0 "$pid" 2>/dev/null; then
        local status=0
        wait "$pid" || status=$?
        fail "valdrex ended within 2 s (status $status)"
    fi
    kill -TERM "$pid"
    wait "$pid" || true
    [ -f "$home/valdrexdb.txt" ] || fail "the main window did not open (no database file)"
}

# The check program goes beside the installed one and runs through a link, as the program does.
check_windows() {
    name=$(basename "$windows_check") # not local: the exit trap uses it
    trap 'rm -f "$program_folder/$name" "$bin/$name"' EXIT
    cp "$windows_check" "$program_folder/$name"
    ln -s "../lib/valdrex/$name" "$bin/$name"
    VALDREX_INSTALLED_FOLDER=$(readlink -f "$program_folder") "$bin/$name"
}

check_desktop_entry() {
    local entry=$share/applications/$app_id.desktop
    local report
    report=$(desktop-file-validate "$entry" 2>&1) || fail "$report"
    [ -z "$report" ] || fail "$report" # warnings and hints too
    local exec icon
    exec=$(sed -n 's/^Exec=//p' "$entry")
    icon=$(sed -n 's/^Icon=//p' "$entry")
    [ -L "$bin/$exec" ] || fail "Exec=$exec is not an installed program"
    [ -f "$share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "Icon=$icon is not installed"
}

check_metainfo() {
    local metainfo=$share/metainfo/$app_id.metainfo.xml
    appstreamcli validate --no-net "$metainfo"
    grep -Fq "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        fail "the launchable is not the installed desktop entry"
}

"check_$check"
