#!/usr/bin/env bash
# The checks of the Windows build under Wine, in a Wine prefix of their own:
#   1. the core's tests (cross-built with GoogleTest);
#   2. the installer installs silently, and the installed sigcond-cli.exe runs;
#   3. the Win32 serial port's tests and sigcond-cli.exe against simulated units on COM ports
#      and behind ser2net, and sigcond-unit-sim.exe --listen;
#   4. sigcond.exe under Xvfb from its start to the main screen with a unit on COM1;
#   5. the uninstaller. (Also: the unpacked zip's sigcond-cli.exe runs.)
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
    # The Win32 serial port's tests need the units of part 3.
    [ -f "$test" ] && [ "$(basename "$test")" != win_serial_tests.exe ] || continue
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
# The zip: unpacked anywhere, its programs run from there.
zip=$(ls "$build"/sigcond-*-windows.zip 2>/dev/null | head -n 1)
if [ -n "$zip" ] && command -v unzip >/dev/null; then
    unzip -q "$zip" -d "$work/unzipped"
    if timeout 60 wine "$work"/unzipped/sigcond-*/sigcond-cli.exe --help >"$work/zip.log" 2>&1; then
        pass "sigcond-cli.exe --help from the unpacked zip"
    else
        fail "the unpacked zip's sigcond-cli.exe:"; cat "$work/zip.log"
    fi
fi

# 3. The programs against simulated units: the Linux simulator on pseudo-terminals, which
# Wine's registry maps to COM ports, and ser2net in front of one of them.
sim=${SIGCOND_LINUX_BIN:-$SIGCOND_ROOT/build/bin}/sigcond-unit-sim
linux_cli=$(dirname "$sim")/sigcond-cli
if [ ! -x "$sim" ] || [ ! -x "$linux_cli" ]; then
    echo "Building the Linux simulator and command line for the checks"
    source "$SIGCOND_ROOT/scripts/lib/common.sh"
    cmake -S "$SIGCOND_ROOT" -B "$SIGCOND_ROOT/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
        cmake --build "$SIGCOND_ROOT/build" --target sigcond-unit-sim sigcond-cli >/dev/null
fi
units=()
# unit NAME OPTIONS...: a simulated unit logging to $work/NAME.log; prints its device.
unit() {
    local name=$1 n
    shift
    "$sim" --log "$work/$name.log" "$@" >"$work/$name.dev" 2>"$work/$name.err" &
    # Called as $(unit ...), in a subshell: the process is noted in a file, not a variable.
    echo $! >>"$work/units.pid"
    for n in $(seq 50); do
        [ -s "$work/$name.dev" ] && break
        sleep 0.1
    done
    head -n 1 "$work/$name.dev"
}
# com N DEVICE: COMn under Wine is the device.
com() {
    wine reg add 'HKLM\Software\Wine\Ports' /v "COM$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1
}
trap 'kill "${units[@]}" $(cat "$work/units.pid" 2>/dev/null) 2>/dev/null; [ -n "${ser2net_pid:-}" ] && kill "$ser2net_pid"; wineserver -k >/dev/null 2>&1; rm -rf "$work"' EXIT
# The order of the search: the eighth line settings tried is 4800,E,7,1.
attempt_of() {
    awk '{ if (!($1 in seen)) { seen[$1] = ++n } } $1 == want { print seen[$1]; exit }' \
        want="$2" "$1"
}
# The installed programs (else the staged ones), beside the DLLs they ship with.
programs="$build/stage"
which=staged
[ -f "${installed:-}/sigcond-cli.exe" ] && programs=$installed which=installed
cli_exe="$programs/sigcond-cli.exe"
if [ ! -f "$cli_exe" ] || [ ! -x "$sim" ]; then
    skip "programs against units: no sigcond-cli.exe or no Linux simulator"
else
    com 1 "$(unit serial1 --baud 9600 --parity O --reading 12.5)"
    com 2 "$(unit serial2 --baud 4800 --parity E --delay 500)"
    com 3 "$(unit serial3 --silent)"
    com 4 "$(unit ident --type RTD --baud 4800 --parity E)"
    com 5 "$(unit winsend --type RTD --baud 4800 --parity E)"
    linuxsend=$(unit linuxsend --type RTD --baud 4800 --parity E)
    source_unit=$(unit source --type RTD --baud 4800 --parity E --register 0D=14 --register 0E=03)
    served=$(unit served --type ACV --baud 4800 --parity E)
    # The mount manager takes the new ports when the Wine server starts again.
    wineserver -k >/dev/null 2>&1
    sleep 1
    if [ -f "$build/bin/win_serial_tests.exe" ]; then
        if (cd "$build" && SIGCOND_WIN_TEST_UNITS=1 timeout 120 wine bin/win_serial_tests.exe \
            --gtest_brief=1 >"$work/win_serial.log" 2>&1); then
            pass "win_serial_tests against units on COM1 to COM3"
        else
            fail "win_serial_tests:"; tail -n 30 "$work/win_serial.log"
        fi
    fi

    # identify: 4800,E,7,1 at the eighth attempt.
    timeout 120 wine "$cli_exe" identify COM4 >"$work/identify.out" 2>&1
    attempt=$(attempt_of "$work/ident.log" 4800,E,7,1)
    if grep -q "line settings 4800,E,7,1, input type RTD" "$work/identify.out" && [ "$attempt" = 8 ]; then
        pass "$which sigcond-cli.exe identify COM4: $(tr -d '\r' <"$work/identify.out" | head -n 1) (attempt $attempt)"
    else
        fail "sigcond-cli.exe identify COM4 (attempt ${attempt:-none}):"; cat "$work/identify.out"
    fi

    # send --verify writes the frames a Linux send writes.
    "$linux_cli" read "$source_unit" --save "$work/source.CFG" >/dev/null 2>&1
    "$linux_cli" send "$linuxsend" "$work/source.CFG" --verify >"$work/linuxsend.out" 2>&1
    timeout 120 wine "$cli_exe" send COM5 "$(winepath -w "$work/source.CFG")" --verify \
        >"$work/winsend.out" 2>&1
    winsend_code=$?
    if [ "$winsend_code" = 0 ] && [ -s "$work/linuxsend.log" ] &&
        cmp -s "$work/linuxsend.log" "$work/winsend.log"; then
        pass "sigcond-cli.exe send --verify: the frames of a Linux send ($(wc -l <"$work/winsend.log") frames)"
    else
        fail "sigcond-cli.exe send --verify (exit $winsend_code):"
        cat "$work/winsend.out"
        diff "$work/linuxsend.log" "$work/winsend.log" | head -n 20
    fi

    # The configuration saved on Windows is the file saved on Linux, byte for byte (CR LF).
    # (Each from the unit the send went to: the frame logs above stay as they were.)
    "$linux_cli" read "$linuxsend" --save "$work/linux.CFG" >/dev/null 2>&1
    (cd "$work" && timeout 120 wine "$cli_exe" read COM5 --save windows.CFG >winread.out 2>&1)
    if [ -s "$work/linux.CFG" ] && cmp -s "$work/linux.CFG" "$work/windows.CFG"; then
        pass "sigcond-cli.exe read --save: the same bytes as the Linux file ($(wc -c <"$work/windows.CFG") bytes)"
    else
        fail "sigcond-cli.exe read --save:"; cat "$work/winread.out"
        od -c "$work/windows.CFG" | head -n 5; od -c "$work/linux.CFG" | head -n 5
    fi

    # monitor takes readings.
    timeout 60 wine "$cli_exe" monitor COM1 --seconds 2 >"$work/monitor.out" 2>&1
    readings=$(grep -c "12.50" "$work/monitor.out")
    if [ "$readings" -ge 2 ]; then
        pass "sigcond-cli.exe monitor COM1: $readings readings"
    else
        fail "sigcond-cli.exe monitor COM1:"; cat "$work/monitor.out"
    fi

    # Through ser2net with RFC 2217: the server sets the line to each attempt's settings.
    if command -v ser2net >/dev/null; then
        port=$(( 20000 + RANDOM % 20000 ))
        printf 'connection: &unit\n  accepter: telnet(rfc2217),tcp,127.0.0.1,%s\n  connector: serialdev,%s,115200n81,local\n' \
            "$port" "$served" >"$work/ser2net.yaml"
        ser2net -d -u -c "$work/ser2net.yaml" -P "$work/ser2net.pid" >"$work/ser2net.out" 2>&1 &
        ser2net_pid=$!
        sleep 1
        timeout 120 wine "$cli_exe" identify "rfc2217://127.0.0.1:$port" >"$work/rfc2217.out" 2>&1
        if grep -q "line settings 4800,E,7,1, input type ACV" "$work/rfc2217.out" &&
            [ "$(attempt_of "$work/served.log" 4800,E,7,1)" = 8 ]; then
            pass "sigcond-cli.exe identify rfc2217://: $(tr -d '\r' <"$work/rfc2217.out" | head -n 1)"
        else
            fail "sigcond-cli.exe identify rfc2217://:"; cat "$work/rfc2217.out" "$work/ser2net.out"
        fi
    else
        skip "device server: no ser2net"
    fi

    # The simulator for Windows users: one unit on a TCP port, reached as socket://.
    sim_exe="$programs/sigcond-unit-sim.exe"
    if [ -f "$sim_exe" ]; then
        wine "$sim_exe" --listen 127.0.0.1:0 --type FP >"$work/listen.out" 2>&1 &
        listen_pid=$!
        units+=($listen_pid)
        for n in $(seq 100); do grep -q ':[0-9]' "$work/listen.out" && break; sleep 0.1; done
        address=$(head -n 1 "$work/listen.out" | tr -d '\r')
        timeout 60 wine "$cli_exe" identify "socket://$address" >"$work/socket.out" 2>&1
        if grep -q "input type FP" "$work/socket.out"; then
            pass "sigcond-unit-sim.exe --listen, reached by sigcond-cli.exe as socket://$address"
        else
            fail "sigcond-unit-sim.exe --listen:"; cat "$work/listen.out" "$work/socket.out"
        fi
        kill "$listen_pid" 2>/dev/null
    fi
fi

# 4. sigcond.exe under Xvfb: the start-up screens clicked through to the main screen with the
# unit on COM1, which is read and polled. Positions are the buttons' within their windows, as
# the program lays them out (each window takes one click to activate and one to press).
gui_exe="$programs/sigcond.exe"
if [ ! -f "$gui_exe" ] || ! command -v xvfb-run >/dev/null || ! command -v xdotool >/dev/null ||
    ! command -v xwdtopnm >/dev/null || [ ! -x "$sim" ]; then
    skip "sigcond.exe under Xvfb: needs sigcond.exe, xvfb-run, xdotool and netpbm"
else
    com 1 "$(unit gui --type TC --baud 4800 --parity E)"
    wineserver -k >/dev/null 2>&1
    cat >"$work/gui.sh" <<'GUI'
window() { xdotool search --onlyvisible --class sigcond 2>/dev/null | tail -n 1; }
press() {  # press X Y: the point X,Y of the window in front
    local w x y
    w=$(window)
    eval "$(xdotool getwindowgeometry --shell "$w")"
    x=$((X + $1)) y=$((Y + $2))
    xdotool mousemove "$x" "$y" click 1; sleep 1; xdotool click 1; sleep 3
}
(cd "$(dirname "$GUI_EXE")" && wine "$GUI_EXE" >"$WORK/gui.out" 2>&1) &
for n in $(seq 120); do [ -n "$(window)" ] && break; sleep 0.5; done
sleep 2
press 240 416   # splash: Continue
press 163 359   # welcome: Continue
press 467 180   # connecting a unit? Yes
press 255 208   # Com 1
for n in $(seq 120); do grep -q " X01" "$WORK/gui.log" && break; sleep 0.5; done
sleep 3
xwd -id "$(window)" -silent | xwdtopnm 2>/dev/null | pnmtopng >"$SHOT"
GUI
    shot="$build/wine-main-screen.png"
    rm -f "$shot"
    GUI_EXE="$gui_exe" WORK="$work" SHOT="$shot" timeout 240 \
        xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/gui.sh" >/dev/null 2>&1
    wineserver -k >/dev/null 2>&1
    frames=$(awk '{print $2}' "$work/gui.log" | uniq -c | awk '{printf "%s%s x%s", sep, $2, $1; sep=", "}')
    if [ "$(attempt_of "$work/gui.log" 4800,E,7,1)" = 8 ] && grep -q "4800,E,7,1 R03" "$work/gui.log" &&
        grep -q "4800,E,7,1 X01" "$work/gui.log" && [ -s "$shot" ]; then
        pass "$which sigcond.exe: search, read and polling on COM1 ($frames); main screen in $shot"
    else
        fail "sigcond.exe under Xvfb: frames $frames"; cat "$work/gui.out"
    fi
fi

# 5. The uninstaller removes what the installer put there and leaves the operator's files.
if [ -f "${installed:-}/uninstall.exe" ]; then
    touch "$installed/MINE.CFG"
    timeout 120 wine "$installed/uninstall.exe" /S && sleep 2 && timeout 60 wineserver -w
    if [ ! -e "$installed/sigcond-cli.exe" ] && [ ! -e "$installed/Qt6Core.dll" ] &&
        [ -e "$installed/MINE.CFG" ]; then
        pass "uninstaller: the programs removed, the operator's file kept"
    else
        fail "uninstaller: $(ls "$installed" | tr '\n' ' ')"
    fi
fi
exit "$failed"
