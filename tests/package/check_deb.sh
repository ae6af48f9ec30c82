#!/usr/bin/env bash
# Makes the Debian package of a built folder with cpack and checks it: its control fields, its
# dependencies on the Qt 6 runtime, that it holds exactly the installed tree under /usr, that
# the maintainer, changelog, copyright file and metainfo agree, and that lintian finds neither
# errors nor warnings in it.
#
#   check_deb.sh BUILD_DIR
set -uo pipefail

build=$(cd "${1:?build folder}" && pwd)
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=$build/sigcond_${version}_$(dpkg --print-architecture).deb
rm -f "$deb"
if ! (cd "$build" && cpack -G DEB >"$build/cpack.log" 2>&1) || [ ! -f "$deb" ]; then
    cat "$build/cpack.log" >&2
    echo "FAIL: cpack made no $deb" >&2
    exit 1
fi

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = sigcond ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Section)" = electronics ] || fail "Section is '$(field Section)'"
case "$(field Maintainer)" in
    *" <"*@*">") ;;
    *) fail "Maintainer '$(field Maintainer)' is not a name with an address" ;;
esac
[ "$(field Description | wc -l)" -gt 2 ] || fail "the Description has no long text"
depends=$(field Depends)
for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 \
    libqt6printsupport6 libqt6network6 libstdc++6 libc6; do
    case ", $depends," in
        *", $library "* | *", $library,"*) ;;
        *) fail "Depends lacks $library: $depends" ;;
    esac
done

# The package's files are the installed tree under /usr, nothing more and nothing less.
dest=$(mktemp -d "${TMPDIR:-/tmp}/sigcond-deb.XXXXXX")
trap 'rm -rf "$dest"' EXIT
DESTDIR="$dest/tree" cmake --install "$build" --prefix /usr >/dev/null || fail "cmake --install failed"
(cd "$dest/tree" && find . -type f | sort) >"$dest/installed"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort >"$dest/packaged"
diff "$dest/installed" "$dest/packaged" >&2 || fail "the package's files differ from the installed tree"
grep -qv '^\./usr/' "$dest/packaged" && fail "files outside /usr: $(grep -v '^\./usr/' "$dest/packaged")"

# Binaries are stripped for the package.
dpkg-deb -x "$deb" "$dest/unpacked"
for program in sigcond sigcond-cli sigcond-unit-sim; do
    if readelf -S "$dest/unpacked/usr/bin/$program" | grep -q '\.debug_info'; then
        fail "/usr/bin/$program is packaged with debugging information"
    fi
done

# One maintainer and one licence throughout: the control file, the changelog's latest entry
# (for this version), the copyright file and the metainfo.
maintainer=$(field Maintainer)
doc=$dest/unpacked/usr/share/doc/sigcond
changes=$(zcat "$doc/changelog.gz" | dpkg-parsechangelog -l - -c 1 2>&1)
latest=$(sed -n 's/^Version: //p' <<<"$changes")
[ "$latest" = "$version" ] || fail "the changelog's latest entry is for '$latest', not $version"
[ "$(sed -n 's/^Maintainer: //p' <<<"$changes")" = "$maintainer" ] ||
    fail "the changelog's latest entry is not signed by the Maintainer $maintainer"
grep -qx "Upstream-Contact: $maintainer" "$doc/copyright" ||
    fail "the copyright file's Upstream-Contact is not the Maintainer $maintainer"
metainfo=$dest/unpacked/usr/share/metainfo/net.sigcond.SignalConditioner.metainfo.xml
address=${maintainer##*<}
grep -q "<update_contact>${address%>}</update_contact>" "$metainfo" ||
    fail "the metainfo's update_contact is not the Maintainer's address"
licence=$(sed -n 's:.*<project_license>\(.*\)</project_license>.*:\1:p' "$metainfo")
[ "$licence" = GPL-3.0-or-later ] || fail "the metainfo's project_license is '$licence'"
grep -qx "License: GPL-3+" "$doc/copyright" || fail "the copyright file does not name GPL-3+"

if command -v lintian >/dev/null; then
    report=$(lintian --fail-on error,warning "$deb" 2>&1)
    status=$?
    # Root is warned against; the package is checked the same either way.
    grep -v '^running with root privileges' <<<"$report" >&2
    [ "$status" = 0 ] || fail "lintian reports errors or warnings (status $status)"
else
    fail "lintian is not installed"
fi

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) of the Debian package failed" >&2
    exit 1
fi
echo "Debian package OK: $(basename "$deb"), $(stat -c %s "$deb") bytes, Depends: $depends"
