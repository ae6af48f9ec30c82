# The Windows build: the packages it needs, the Windows Qt (cross-built once from Debian's own
# qtbase source and kept in a cache outside the build tree), and the Wine prefix for the checks.
# shellcheck shell=bash

# shellcheck source=common.sh
. "$(dirname "${BASH_SOURCE[0]}")/common.sh"

SIGCOND_WIN_PACKAGES=(
    g++-mingw-w64-x86-64-posix wine wine64 nsis zip unzip
    # What Wine only recommends but draws windows with (packages are installed without their
    # recommendations), and its fonts.
    fonts-wine libxrender1 libxi6 libxcursor1 libxrandr2 libxinerama1 libxcomposite1 libxfixes3
    # The checks under Wine: a display, clicks and screenshots, a device server.
    xvfb xauth xdotool x11-apps netpbm ser2net
    # Fetching and unpacking the Qt and GoogleTest sources.
    dpkg-dev googletest
)
SIGCOND_WIN_TOOLCHAIN="$SIGCOND_ROOT/cmake/mingw-w64-x86_64.cmake"
SIGCOND_WIN_MINGW_RUNTIME=/usr/lib/gcc/x86_64-w64-mingw32/12-posix
SIGCOND_WIN_PTHREAD_DLL=/usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll

# The Qt version must match the host's Qt tools (moc, uic, rcc come from qt6-base-dev-tools).
SIGCOND_WIN_QT_VERSION=6.4.2
# Only what the programs use is built: Core, Gui, Widgets, Network, PrintSupport and the
# Windows platform plugin. Debian's source has no wintab.h, hence no tablet events; dynamicgl
# does not follow opengl by itself.
SIGCOND_WIN_QT_OPTIONS=(
    -DCMAKE_BUILD_TYPE=Release
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++
    -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF
    -DFEATURE_sql=OFF
    -DFEATURE_opengl=OFF
    -DFEATURE_dynamicgl=OFF
    -DFEATURE_dbus=OFF
    -DFEATURE_testlib=OFF
    -DFEATURE_concurrent=OFF
    -DFEATURE_xml=OFF
    -DFEATURE_vulkan=OFF
    -DFEATURE_openssl=OFF
    -DFEATURE_tabletevent=OFF
)

sigcond_win_cache() {
    echo "${XDG_CACHE_HOME:-$HOME/.cache}/sigcond-windows"
}

# The cached Qt is reused while its version and options are the same.
sigcond_win_qt_key() {
    printf '%s\n' "$SIGCOND_WIN_QT_VERSION" "${SIGCOND_WIN_QT_OPTIONS[@]}" | sha256sum | cut -c1-12
}

sigcond_win_qt_prefix() {
    echo "$(sigcond_win_cache)/qt-$SIGCOND_WIN_QT_VERSION-$(sigcond_win_qt_key)"
}

sigcond_win_qt_ready() {
    [ -x "$(sigcond_win_qt_prefix)/bin/qt-cmake" ]
}

# The Linux packages too: the cross-build takes moc, uic and rcc from the host's Qt, and the
# checks run the Linux simulator and command line beside the Windows programs.
sigcond_win_install_deps() {
    sigcond_install_deps "${SIGCOND_PACKAGES[@]}" "${SIGCOND_WIN_PACKAGES[@]}"
}

# sigcond_win_apt_source DIR PACKAGE: fetch and unpack a Debian source package into DIR, from
# the archive the machine already uses but through a private source list, so the system's
# sources and package lists stay untouched.
sigcond_win_apt_source() {
    local dir=$1 package=$2 f
    local apt_dir="$dir/apt"
    mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial"
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -e "$f" ] || continue
        sed 's/^Types:.*/Types: deb-src/' "$f" >"$apt_dir/sources.list.d/$(basename "$f")"
    done
    local apt_opts=(
        -o Dir::Etc::SourceList=/dev/null
        -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
        -o "Dir::State::Lists=$apt_dir/lists"
        -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=
    )
    apt-get "${apt_opts[@]}" -qq update
    (cd "$dir" && apt-get "${apt_opts[@]}" -qq source "$package")
}

# sigcond_win_build_qt: cross-build qtbase once into the cache; a second call returns at once.
# The build goes into a work folder and is moved into place only when installed, so an
# interrupted build is never taken for a finished one.
sigcond_win_build_qt() {
    local prefix work src start
    prefix=$(sigcond_win_qt_prefix)
    sigcond_win_qt_ready && return 0
    mkdir -p "$(sigcond_win_cache)"
    exec 9>"$prefix.lock"
    if ! flock -n 9; then
        echo "Another Windows Qt build is running; waiting for it."
        flock 9
        sigcond_win_qt_ready && return 0
    fi
    start=$(date +%s)
    work="$prefix.work"
    rm -rf "$work" "$prefix"
    mkdir -p "$work"
    echo "Fetching the qtbase source"
    sigcond_win_apt_source "$work" qt6-base
    src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
    if [ -z "$src" ] || ! grep -q "QT_REPO_MODULE_VERSION \"$SIGCOND_WIN_QT_VERSION\"" "$src/.cmake.conf"; then
        echo "The archive's qtbase is not version $SIGCOND_WIN_QT_VERSION" >&2
        return 1
    fi
    echo "Configuring qtbase $SIGCOND_WIN_QT_VERSION for Windows"
    nice -n 19 cmake -S "$src" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$SIGCOND_WIN_TOOLCHAIN" \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        "${SIGCOND_WIN_QT_OPTIONS[@]}"
    echo "Building qtbase (this takes 20 to 40 minutes on 2 cores)"
    nice -n 19 cmake --build "$work/build" -j "${SIGCOND_WIN_JOBS:-2}"
    cmake --install "$work/build" >/dev/null
    echo "$(( $(date +%s) - start )) s to fetch, configure, build and install" \
        >"$prefix/sigcond-build-time.txt"
    rm -rf "$work"
    echo "Windows Qt installed in $prefix ($(du -sh "$prefix" | cut -f1))"
}

# sigcond_win_build_gtest: GoogleTest from Debian's googletest sources, cross-built once into
# the cache, for the core's tests under Wine.
sigcond_win_gtest_prefix() {
    local version
    version=$(dpkg-query -W -f='${Version}' googletest 2>/dev/null || echo unknown)
    echo "$(sigcond_win_cache)/googletest-${version%%-*}"
}

sigcond_win_build_gtest() {
    local prefix
    prefix=$(sigcond_win_gtest_prefix)
    [ -f "$prefix/lib/cmake/GTest/GTestConfig.cmake" ] && return 0
    rm -rf "$prefix.work" "$prefix"
    nice -n 10 cmake -S /usr/src/googletest -B "$prefix.work" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$SIGCOND_WIN_TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" -Dgtest_disable_pthreads=OFF >/dev/null
    nice -n 10 cmake --build "$prefix.work" -j "${SIGCOND_WIN_JOBS:-2}" >/dev/null
    cmake --install "$prefix.work" >/dev/null
    rm -rf "$prefix.work"
}

# sigcond_win_build DIR: configure (once) with the Windows Qt and build the programs and the
# core's tests into DIR.
sigcond_win_build() {
    local dir=$1 qt
    qt=$(sigcond_win_qt_prefix)
    # -O2, as the Linux release build: GCC 12 at -O3 warns falsely about string copies.
    "$qt/bin/qt-cmake" -S "$SIGCOND_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" \
        -DQT_CHAINLOAD_TOOLCHAIN_FILE="$SIGCOND_WIN_TOOLCHAIN" \
        -DGTest_DIR="$(sigcond_win_gtest_prefix)/lib/cmake/GTest" >/dev/null
    nice -n 10 cmake --build "$dir" -j "${SIGCOND_WIN_JOBS:-2}"
}

# sigcond_win_stage BUILD STAGE: the programs with every DLL they load, as installed.
sigcond_win_stage() {
    local build=$1 stage=$2 qt program
    qt=$(sigcond_win_qt_prefix)
    rm -rf "$stage"
    mkdir -p "$stage/platforms" "$stage/styles"
    for program in sigcond sigcond-cli sigcond-unit-sim; do
        [ -f "$build/bin/$program.exe" ] && cp "$build/bin/$program.exe" "$stage/"
    done
    if ! ls "$stage"/*.exe >/dev/null 2>&1; then
        echo "No Windows programs were built (see the 'Windows:' lines of the configure step)" >&2
        return 1
    fi
    for dll in Qt6Core Qt6Gui Qt6Widgets Qt6Network Qt6PrintSupport; do
        cp "$qt/bin/$dll.dll" "$stage/"
    done
    cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
    [ -f "$qt/plugins/styles/qwindowsvistastyle.dll" ] &&
        cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
    cp "$SIGCOND_WIN_MINGW_RUNTIME/libstdc++-6.dll" "$SIGCOND_WIN_MINGW_RUNTIME/libgcc_s_seh-1.dll" \
        "$SIGCOND_WIN_PTHREAD_DLL" "$stage/"
    # The text files with Windows line ends, for Notepad.
    sed 's/$/\r/' "$SIGCOND_ROOT/LICENSE" >"$stage/LICENSE.txt"
    sed 's/$/\r/' "$SIGCOND_ROOT/README.md" >"$stage/README.txt"
}

sigcond_win_version() {
    sed -n 's/^project(sigcond VERSION \([0-9.]*\).*/\1/p' "$SIGCOND_ROOT/CMakeLists.txt"
}

# sigcond_win_package STAGE OUTDIR: sigcond-setup-VERSION.exe and sigcond-VERSION-windows.zip.
sigcond_win_package() {
    local stage out version
    version=$(sigcond_win_version)
    mkdir -p "$2"
    # makensis reads the files relative to the script's folder: absolute paths.
    stage=$(cd "$1" && pwd)
    out=$(cd "$2" && pwd)
    makensis -V2 -DVERSION="$version" -DSTAGE="$stage" \
        -DOUTFILE="$out/sigcond-setup-$version.exe" "$SIGCOND_ROOT/packaging/windows/sigcond.nsi"
    rm -f "$out/sigcond-$version-windows.zip"
    (cd "$(dirname "$stage")" && rm -rf "sigcond-$version" && cp -r "$stage" "sigcond-$version" &&
        zip -qr -X "$out/sigcond-$version-windows.zip" "sigcond-$version" &&
        rm -rf "sigcond-$version")
}

# sigcond_win_wine_env DIR: a Wine prefix of the checks' own, prepared once.
sigcond_win_wine_env() {
    export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    # The build folder's programs find the MinGW runtime DLLs where the compiler keeps them.
    export WINEPATH="$SIGCOND_WIN_MINGW_RUNTIME;$(dirname "$SIGCOND_WIN_PTHREAD_DLL")"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        timeout 120 wineboot -i >/dev/null 2>&1
        timeout 60 wineserver -w
    fi
}
