#!/usr/bin/env bash
# Installs the Debian packages fzl needs to build, test and benchmark,
# skipping those that are already installed.
set -euo pipefail

PACKAGES=(cmake ninja-build g++ clang libgtest-dev libgmock-dev libbenchmark-dev)

missing=()
for pkg in "${PACKAGES[@]}"; do
    if ! dpkg -s "$pkg" 2>/dev/null | grep -q '^Status: install ok installed$'; then
        missing+=("$pkg")
    fi
done

if [[ ${#missing[@]} -eq 0 ]]; then
    echo "install-deps: all packages present (${PACKAGES[*]})"
    exit 0
fi

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
    sudo_cmd=(sudo)
fi

echo "install-deps: installing ${missing[*]}"
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
