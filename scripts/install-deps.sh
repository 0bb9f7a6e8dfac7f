#!/usr/bin/env bash
# Installs the Debian packages that building and testing Statvane need, when
# any is missing. Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-charts-dev libqt6opengl6-dev libc-ares-dev zlib1g-dev libbz2-dev liblzma-dev libzstd-dev xz-utils zstd
    libgtest-dev libgmock-dev
    libssl3 ca-certificates
    python3 python3-aiosmtpd tinyproxy dnsmasq-base openssl
    xvfb openbox xdotool x11-utils
    desktop-file-utils
    "$@"
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
