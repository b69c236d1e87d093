# Shared by scripts/test and scripts/demo: installs missing Debian packages
# and configures and builds the project in build/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="${PELBROOK_BUILD_DIR:-$root/build}"

install_packages() {
    local wanted missing=()
    wanted=$(grep -v -E '^\s*(#|$)' "$root/scripts/deb-packages.txt")
    for p in $wanted; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
}

configure_and_build() {
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$build" --parallel "$(nproc)"
}
