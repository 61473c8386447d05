#!/bin/bash
# Installs what a fresh Debian 12 machine lacks for building and testing,
# and makes sure 32-bit x86 programs (Wine's loader) can run here.
# Safe to run again: it only does what is missing. Needs root (or sudo).
set -euo pipefail

SUDO=""
if [[ $(id -u) != 0 ]]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

PACKAGES=(
    cmake g++ clang libgtest-dev libbenchmark-dev zlib1g-dev libz-mingw-w64-dev
    g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
    wine wine64 wine32:i386
    icoutils xvfb xdotool x11-apps imagemagick lld
)
BACKPORTS=/etc/apt/sources.list.d/zaro-backports.list

missing=()
for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || missing+=("$package")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
    $SUDO apt-get update -q
    $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Some virtual machines have no 32-bit syscall entry: there, i386 programs
# run through qemu's user-mode emulator, registered with binfmt_misc. The
# qemu of Debian 12 takes a minute to start each 32-bit Wine process (it
# lacks MAP_FIXED_NOREPLACE); the backported one a fraction of a second.
BINFMT=/proc/sys/fs/binfmt_misc
if [[ -e $BINFMT/qemu-i386 ]] || ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    if ! qemu-i386 --version 2>/dev/null | grep -qE "version ([89]|[1-9][0-9])\."; then
        if ! grep -rqs bookworm-backports /etc/apt/sources.list /etc/apt/sources.list.d; then
            # From the mirror this machine already uses.
            uri=$("$(dirname "$0")"/bookworm-uri)
            echo "deb $uri bookworm-backports main" | $SUDO tee $BACKPORTS >/dev/null
        fi
        $SUDO apt-get update -q
        $SUDO apt-get install -y -q --no-install-recommends -t bookworm-backports qemu-user-static
    fi
    [[ -e $BINFMT/register ]] || $SUDO mount -t binfmt_misc binfmt_misc $BINFMT
    # Re-register: an F-flag entry keeps the interpreter it was made with.
    [[ -e $BINFMT/qemu-i386 ]] && echo -1 | $SUDO tee $BINFMT/qemu-i386 >/dev/null
    echo ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:F' |
        $SUDO tee $BINFMT/register >/dev/null
    /usr/lib/wine/wine --version >/dev/null || { echo "install-deps: cannot run 32-bit x86 programs here" >&2; exit 1; }
fi
