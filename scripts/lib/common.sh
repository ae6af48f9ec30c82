# Shared by the scripts: the packages the project needs, and the build step.
# shellcheck shell=bash

SIGCOND_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# Debian packages: compiler and build tools, Qt 6, GoogleTest, clang for the fuzz targets, Xvfb and
# poppler for looking at screens and printed pages, ser2net in front of simulated units.
SIGCOND_PACKAGES=(
    g++ cmake ninja-build ccache pkg-config
    qt6-base-dev qt6-serialport-dev qt6-qpa-plugins
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    xvfb xauth poppler-utils fonts-dejavu-core
    # A real serial device server for the end-to-end tests of network ports.
    ser2net
    # Packaging: bitmap icons, the package's dependencies, checking the desktop files and the
    # package (lintian).
    librsvg2-bin dpkg-dev file desktop-file-utils appstream lintian
)

# sigcond_missing_packages [PACKAGE...]: those not installed, of the given ones or else of
# SIGCOND_PACKAGES.
sigcond_missing_packages() {
    local missing=()
    local p
    local wanted=("$@")
    [ $# -eq 0 ] && wanted=("${SIGCOND_PACKAGES[@]}")
    for p in "${wanted[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$p")
        fi
    done
    echo "${missing[@]:-}"
}

# sigcond_install_deps [PACKAGE...]: installs the missing ones (as root), or prints the one
# apt-get line and exits.
sigcond_install_deps() {
    local missing
    missing=$(sigcond_missing_packages "$@")
    [ -z "$missing" ] && return 0
    if [ "$(id -u)" = 0 ]; then
        echo "Installing: $missing"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        # shellcheck disable=SC2086
        apt-get install -y -qq --no-install-recommends $missing >/dev/null
    else
        echo "These packages are missing. Install them with:" >&2
        echo "  sudo apt-get install --no-install-recommends $missing" >&2
        exit 1
    fi
}

# sigcond_build DIR [cmake options...]: configure (once) and build into DIR.
sigcond_build() {
    local dir=$1
    shift
    cmake -S "$SIGCOND_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j "$(nproc)"
}
export CCACHE_BASEDIR="$SIGCOND_ROOT"
# Build folders differ only in where they are: let them share cached objects.
export CCACHE_NOHASHDIR=true
