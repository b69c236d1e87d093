# Sourced by scripts/test for `scripts/test --debian <release>`: runs the whole suite again in a
# root of another Debian release, made with debootstrap, from a clean clone of this checkout's
# HEAD (commit what you want tested), with the packages scripts/test installs there. Another
# release is another Qt and compiler: Debian 12 has Qt 6.4 and g++ 12, Debian 13 Qt 6.8 and g++ 14.
#
# The root is kept in build-debian<release>/root (PELBROOK_DEBIAN_DIR moves it) and made again
# only when missing; the clone is made afresh each run. Its mounts (/proc, and a fresh /dev/shm
# for the browser engine) live in a mount namespace of the run's own, so they are gone however
# the run ends, an interrupted or killed one included. Needs root, or sudo.

debian_codename() {
    case "$1" in
        12) echo bookworm ;;
        13) echo trixie ;;
        *) echo "scripts/test --debian: release 12 or 13, not '$1'" >&2; return 2 ;;
    esac
}

# test_in_debian <release> [arguments for ctest...]
test_in_debian() {
    local release="$1"; shift
    local codename
    codename=$(debian_codename "$release")
    local mirror="${PELBROOK_DEBIAN_MIRROR:-http://deb.debian.org/debian}"
    local security="${PELBROOK_DEBIAN_SECURITY_MIRROR:-http://deb.debian.org/debian-security}"
    local dir="${PELBROOK_DEBIAN_DIR:-$root/build-debian$release}"
    local rootfs="$dir/root"

    command -v debootstrap >/dev/null || apt_install debootstrap
    # The mark names what the root was made of: a root whose making was interrupted has none,
    # and one of another release or mirror (the same PELBROOK_DEBIAN_DIR, say) another one; both
    # are made again.
    local made_of="$codename $mirror $security"
    if [ "$(cat "$dir/root-complete" 2>/dev/null)" != "$made_of" ]; then
        echo "Making a Debian $release ($codename) root in $rootfs"
        as_root rm -f "$dir/root-complete"
        as_root rm -rf "$rootfs"
        mkdir -p "$dir"
        # The packages' signatures are checked, or the root is not made.
        as_root debootstrap --force-check-gpg --variant=minbase "$codename" "$rootfs" "$mirror"
        # The release's updates and security fixes, as a machine of that release would have.
        printf '%s\n' "deb $mirror $codename main" "deb $mirror $codename-updates main" \
            "deb $security $codename-security main" |
            as_root tee "$rootfs/etc/apt/sources.list" >/dev/null
        echo "$made_of" >"$dir/root-complete"
    fi
    as_root cp /etc/resolv.conf "$rootfs/etc/resolv.conf"

    # The clean clone: what is committed, nothing of this checkout's build folders.
    local clone=/work/pelbrook
    as_root rm -rf "$rootfs$clone"
    as_root mkdir -p "$(dirname "$rootfs$clone")"
    as_root git clone --quiet --no-hardlinks "$root" "$rootfs$clone"
    [ -z "$(git -C "$root" status --porcelain)" ] ||
        echo "scripts/test --debian: changes not committed, new files included, are not in the run; it tests HEAD" >&2

    # CI's settings go in (warnings fail the build there, and clang builds everything once
    # more), but not CI itself: the sanitizer and fuzz rounds run once, on the machine's own
    # release.
    local werror="" clang=""
    [ "${CI:-}" = true ] && werror=1 clang=1
    echo "Running the suite in Debian $release"
    # A package installation a killed run left half done is finished first.
    as_root unshare --mount --propagation private -- /bin/sh -euc '
        rootfs="$1"; shift
        mount -t proc proc "$rootfs/proc"
        mount -t tmpfs -o mode=1777 shm "$rootfs/dev/shm"
        exec "$@"' sh "$rootfs" \
        env -i HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" \
            PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
            PELBROOK_WERROR="${PELBROOK_WERROR:-$werror}" \
            PELBROOK_CLANG_BUILD="${PELBROOK_CLANG_BUILD:-$clang}" \
            PELBROOK_BUILD_JOBS="${PELBROOK_BUILD_JOBS:-}" \
            PELBROOK_BUILD_TYPE="${PELBROOK_BUILD_TYPE:-}" \
        chroot "$rootfs" /bin/bash -c 'dpkg --configure -a && cd "$0" && exec scripts/test "$@"' "$clone" "$@"
}
