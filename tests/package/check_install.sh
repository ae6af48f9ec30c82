#!/usr/bin/env bash
# Installs a build folder into a temporary DESTDIR under /usr, as the Debian package does, and
# checks the installed tree: every file where it belongs and nothing else, the desktop entry
# and the metainfo valid and agreeing with each other and with the icon, the release matching
# the project version, and the installed programs running from their new place.
#
#   check_install.sh BUILD_DIR PROJECT_VERSION
set -uo pipefail

build=${1:?build folder}
version=${2:?project version}
app_id=net.sigcond.SignalConditioner

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

dest=$(mktemp -d "${TMPDIR:-/tmp}/sigcond-install.XXXXXX")
sim_pid=""
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    rm -rf "$dest"
}
trap cleanup EXIT

if ! DESTDIR="$dest" cmake --install "$build" --prefix /usr >"$dest.log" 2>&1; then
    cat "$dest.log" >&2
    rm -f "$dest.log"
    echo "FAIL: cmake --install did not complete" >&2
    exit 1
fi
rm -f "$dest.log"
root=$dest/usr

# --- The tree: what must be there, and that nothing else is.
expected=(
    bin/sigcond
    bin/sigcond-cli
    bin/sigcond-unit-sim
    share/applications/$app_id.desktop
    share/metainfo/$app_id.metainfo.xml
    share/icons/hicolor/scalable/apps/$app_id.svg
    share/doc/sigcond/README.md
    share/doc/sigcond/cli.md
    share/doc/sigcond/copyright
    share/doc/sigcond/changelog.gz
    share/man/man1/sigcond.1.gz
    share/man/man1/sigcond-cli.1.gz
    share/man/man1/sigcond-unit-sim.1.gz
)
png_sizes=()
# Bitmap icons are rendered when the build found rsvg-convert.
if grep -q '^RSVG_CONVERT:FILEPATH=/' "$build/CMakeCache.txt"; then
    png_sizes=(32 48 64 128 256)
    for size in "${png_sizes[@]}"; do
        expected+=("share/icons/hicolor/${size}x${size}/apps/$app_id.png")
    done
fi
for file in "${expected[@]}"; do
    [ -f "$root/$file" ] || fail "not installed: /usr/$file"
done
while IFS= read -r file; do
    relative=${file#"$root"/}
    case " ${expected[*]} " in
        *" $relative "*) ;;
        *) fail "installed but not expected: ${file#"$dest"}" ;;
    esac
done < <(find "$dest" -type f -o -type l)
for program in sigcond sigcond-cli sigcond-unit-sim; do
    [ -x "$root/bin/$program" ] || fail "/usr/bin/$program is not executable"
done

# --- Desktop entry and metainfo.
desktop=$root/share/applications/$app_id.desktop
metainfo=$root/share/metainfo/$app_id.metainfo.xml
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
else
    echo "note: desktop-file-validate is not installed; the desktop entry is not validated"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metainfo"
else
    echo "note: appstreamcli is not installed; the metainfo is not validated"
fi

desktop_key() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
xml_text() { sed -n "s:.*<$1>\(.*\)</${1%% *}>.*:\1:p" "$metainfo" | head -n 1; }

exec_program=$(desktop_key Exec)
exec_program=${exec_program%% *}
[ "$exec_program" = sigcond ] || fail "desktop Exec runs '$exec_program', not sigcond"
[ -x "$root/bin/$exec_program" ] || fail "desktop Exec '$exec_program' is not in /usr/bin"
icon=$(desktop_key Icon)
[ "$icon" = "$app_id" ] || fail "desktop Icon is '$icon', not $app_id"
[ -f "$root/share/icons/hicolor/scalable/apps/$icon.svg" ] ||
    fail "no scalable icon named after the desktop Icon '$icon'"

[ "$(xml_text id)" = "$app_id" ] || fail "metainfo id is '$(xml_text id)', not $app_id"
launchable=$(xml_text 'launchable type="desktop-id"')
[ "$launchable" = "$app_id.desktop" ] || fail "metainfo launchable '$launchable' is not the desktop file"
stock_icon=$(xml_text 'icon type="stock"')
[ "$stock_icon" = "$icon" ] || fail "metainfo icon '$stock_icon' differs from the desktop Icon '$icon'"
grep -q "<release version=\"$version\"" "$metainfo" ||
    fail "metainfo has no release for version $version"

# The SVG must be a drawing, each PNG a PNG of its folder's size.
grep -q '<svg[ >]' "$root/share/icons/hicolor/scalable/apps/$app_id.svg" ||
    fail "the scalable icon is not an SVG drawing"
for size in "${png_sizes[@]}"; do
    png=$root/share/icons/hicolor/${size}x${size}/apps/$app_id.png
    [ -f "$png" ] || continue
    signature=$(od -An -tx1 -N8 "$png" | tr -d ' \n')
    [ "$signature" = 89504e470d0a1a0a ] || { fail "${size}x${size} icon is not a PNG"; continue; }
    read -r w1 w2 w3 w4 h1 h2 h3 h4 < <(od -An -tu1 -j16 -N8 "$png")
    width=$(((w1 << 24) | (w2 << 16) | (w3 << 8) | w4))
    height=$(((h1 << 24) | (h2 << 16) | (h3 << 8) | h4))
    [ "$width" = "$size" ] && [ "$height" = "$size" ] ||
        fail "${size}x${size} icon is ${width}x${height}"
done

# The documents are the project's own.
source_dir=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$build/CMakeCache.txt")
cmp -s "$source_dir/README.md" "$root/share/doc/sigcond/README.md" || fail "installed README differs"
cmp -s "$source_dir/docs/cli.md" "$root/share/doc/sigcond/cli.md" || fail "installed cli.md differs"
cmp -s "$source_dir/packaging/copyright" "$root/share/doc/sigcond/copyright" ||
    fail "installed copyright file differs"
zcmp -s "$source_dir/packaging/changelog" "$root/share/doc/sigcond/changelog.gz" ||
    fail "installed changelog differs"
for program in sigcond sigcond-cli sigcond-unit-sim; do
    page=$root/share/man/man1/$program.1.gz
    [ -f "$page" ] || continue
    zcat "$page" | grep -q "^\.TH [^ ]* 1 [^ ]* \"sigcond $version\"" ||
        fail "the manual page of $program is not for version $version"
done

# --- The installed programs: no path back into the build folder, every library found, and
# they run: the command-line tool identifies the installed simulator's unit, and the program
# starts and keeps running.
for program in sigcond sigcond-cli sigcond-unit-sim; do
    binary=$root/bin/$program
    [ -x "$binary" ] || continue
    if command -v readelf >/dev/null && readelf -d "$binary" | grep -E 'R(UN)?PATH' | grep -q "$build"; then
        fail "/usr/bin/$program still looks for libraries in the build folder"
    fi
    ldd "$binary" | grep -q 'not found' && fail "/usr/bin/$program misses a library: $(ldd "$binary" | grep 'not found')"
done

if [ -x "$root/bin/sigcond-unit-sim" ] && [ -x "$root/bin/sigcond-cli" ]; then
    link=$dest/unit
    "$root/bin/sigcond-unit-sim" --type RTD --link "$link" >"$dest/sim.out" 2>&1 &
    sim_pid=$!
    for _ in $(seq 100); do
        [ -e "$link" ] && break
        sleep 0.05
    done
    identified=$(timeout 60 "$root/bin/sigcond-cli" identify "$link" 2>&1)
    case "$identified" in
        *"input type RTD"*) ;;
        *) fail "installed sigcond-cli did not identify the installed simulator: $identified" ;;
    esac
fi

if [ -x "$root/bin/sigcond" ]; then
    # The program has no options: it opens its first screen and waits for the operator.
    QT_QPA_PLATFORM=offscreen timeout 3 "$root/bin/sigcond" >"$dest/program.out" 2>&1
    status=$?
    [ "$status" = 124 ] || fail "installed sigcond ended at start (status $status): $(cat "$dest/program.out")"
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) of the installed tree failed" >&2
    exit 1
fi
echo "installed tree OK: $(find "$dest" -type f | wc -l) files"
