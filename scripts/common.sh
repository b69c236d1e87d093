# Shared by scripts/test and scripts/demo: installs missing Debian packages
# and configures and builds the project in build/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="${PELBROOK_BUILD_DIR:-$root/build}"

# as_root COMMAND...: runs the command as root, through sudo unless we are root already.
as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# apt_install PACKAGE...: installs those of the packages that are not installed yet.
apt_install() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root apt-get update
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
}

# install_packages: the packages scripts/deb-packages.txt lists.
install_packages() {
    local wanted list="$root/scripts/deb-packages.txt"
    [ -r "$list" ] || { echo "scripts: $list cannot be read" >&2; return 1; }
    mapfile -t wanted < <(grep -v -E '^\s*(#|$)' "$list" | tr -s ' \t' '\n' | grep -v '^$')
    apt_install "${wanted[@]}"
}

# configure_and_build [cmake -D options...] [-- build targets...]
configure_and_build() {
    local options=() targets=()
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do options+=("$1"); shift; done
    [ "${1:-}" = "--" ] && shift
    for t in "$@"; do targets+=(--target "$t"); done
    # PELBROOK_BUILD_TYPE chooses the build type (default: optimised with debug information).
    # The parts the scripts run are asked for by name: a build folder configured before with
    # some of them off (an install recipe's, say) is configured again with them on.
    local parts=(-DPELBROOK_BUILD_SANDBOX=ON -DPELBROOK_BUILD_EXAMPLES=ON -DPELBROOK_BUILD_QML=ON
                 -DPELBROOK_BUILD_BENCHMARKS=ON -DPELBROOK_BUILD_DOCS=ON)
    # On CI (or with PELBROOK_WERROR=1) a compiler warning in our own code fails the build.
    local werror=OFF
    { [ "${CI:-}" = true ] || [ "${PELBROOK_WERROR:-}" = 1 ]; } && werror=ON
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE="${PELBROOK_BUILD_TYPE:-RelWithDebInfo}" \
        -DPELBROOK_WERROR="$werror" "${parts[@]}" "${options[@]}"
    # PELBROOK_BUILD_JOBS limits the parallel jobs (default: one per processor).
    cmake --build "$build" --parallel "${PELBROOK_BUILD_JOBS:-$(nproc)}" "${targets[@]}"
}
