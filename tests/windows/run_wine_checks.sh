#!/usr/bin/env bash
# The checks of the Windows build under Wine, in a Wine prefix of their own:
#   1. the core's tests (cross-built with GoogleTest);
#   2. the installer installs silently, and the installed sigcond-cli.exe runs.
# Usage: tests/windows/run_wine_checks.sh BUILD-WINDOWS-DIR
# Ends with 0 when every check that could run passed; a check that cannot run says why.
set -uo pipefail
. "$(dirname "$0")/../../scripts/lib/windows.sh"
build=$(cd "${1:?usage: run_wine_checks.sh BUILD-WINDOWS-DIR}" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/sigcond-wine.XXXXXX")
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$work"' EXIT
failed=0
pass() { echo "PASS $*"; }
fail() { echo "FAIL $*"; failed=1; }
skip() { echo "SKIP $*"; }

sigcond_win_wine_env "$work/prefix"

# 1. The core's tests: each program whole, with GoogleTest's summary.
found=0
for test in "$build"/bin/*_tests.exe; do
    [ -f "$test" ] || continue
    found=1
    name=$(basename "$test" .exe)
    if (cd "$build" && timeout 600 wine "$test" --gtest_brief=1 >"$work/$name.log" 2>&1); then
        pass "$name ($(grep -o '[0-9]* tests\? from [0-9]* test suites\? ran' "$work/$name.log" | head -n 1))"
    else
        fail "$name:"
        tail -n 30 "$work/$name.log"
    fi
done
[ "$found" = 1 ] || skip "core tests: none were built in $build/bin"

# 2. The installer, silently, then the installed command line.
setup=$(ls "$build"/sigcond-setup-*.exe 2>/dev/null | head -n 1)
if [ -z "$setup" ]; then
    skip "installer: no sigcond-setup-*.exe in $build"
else
    if timeout 300 wine "$setup" /S && timeout 60 wineserver -w; then
        installed="$WINEPREFIX/drive_c/Program Files/sigcond"
        if [ -f "$installed/sigcond-cli.exe" ] && [ -f "$installed/uninstall.exe" ] &&
            [ -f "$installed/platforms/qwindows.dll" ]; then
            pass "installer: silent install into Program Files"
        else
            fail "installer: files missing in $installed"
        fi
        if [ -f "$installed/sigcond-cli.exe" ]; then
            if timeout 60 wine "$installed/sigcond-cli.exe" --help >"$work/help.log" 2>&1; then
                pass "installed sigcond-cli.exe --help"
            else
                fail "installed sigcond-cli.exe --help:"; cat "$work/help.log"
            fi
            if timeout 60 wine "$installed/sigcond-cli.exe" ports >"$work/ports.log" 2>&1; then
                pass "installed sigcond-cli.exe ports"
            else
                fail "installed sigcond-cli.exe ports:"; cat "$work/ports.log"
            fi
        fi
    else
        fail "installer: /S did not finish"
    fi
fi
skip "sigcond-cli.exe against a unit on COM1 and sigcond.exe under Xvfb: not written yet"
exit "$failed"
