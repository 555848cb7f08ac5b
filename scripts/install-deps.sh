#!/usr/bin/env bash
# Installs the Debian packages that Tamvel's build and tests need, only those missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    libwxgtk3.2-dev wx-common libx11-dev libgtk-3-dev
    libgtest-dev googletest
    nlohmann-json3-dev
    libeigen3-dev libboost-math-dev libfast-float-dev
    clang libclang-rt-14-dev
    xvfb xauth xdotool x11-utils wmctrl openbox
    fonts-ipafont-gothic
    xdg-utils shared-mime-info desktop-file-utils
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
