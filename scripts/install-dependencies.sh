#!/usr/bin/env bash
# Installs the Debian packages the editor needs to build, run and test, when any is missing.
# fonts-wine brings a font with Tahoma's metrics and fonts-liberation2 one with Arial's, the
# faces the windows are laid out for.
set -euo pipefail

packages=(cmake make g++ clang libclang-rt-14-dev qt6-base-dev libgl-dev fonts-dejavu-core
          libqt6svg6 desktop-file-utils dpkg-dev fonts-wine fonts-liberation2)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
