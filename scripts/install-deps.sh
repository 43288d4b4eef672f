#!/usr/bin/env bash
# Installs the Debian packages one kind of fzl build needs, skipping those that
# are already installed.
#
#   scripts/install-deps.sh [--dry-run] [SET]
#
#   main   compiler, CMake, Ninja: the library and the examples (`release` preset)
#   test   main + GoogleTest (`debug`, `asan` presets)
#   bench  main + Google Benchmark (`bench` preset)
#   all    everything CI uses: test + bench + clang (`clang` preset) + pkg-config
#          (the consumer check); the default
#
# --dry-run prints the missing packages of SET and installs nothing.
set -euo pipefail

usage() { echo "usage: $0 [--dry-run] [main|test|bench|all]" >&2; exit 2; }

dry_run=0
set_name=all
for arg in "$@"; do
    case "$arg" in
        -n | --dry-run) dry_run=1 ;;
        main | test | bench | all) set_name="$arg" ;;
        *) usage ;;
    esac
done

MAIN=(cmake ninja-build g++)
TEST=(libgtest-dev libgmock-dev)
BENCH=(libbenchmark-dev)
CI=(clang pkgconf)

case "$set_name" in
    main) packages=("${MAIN[@]}") ;;
    test) packages=("${MAIN[@]}" "${TEST[@]}") ;;
    bench) packages=("${MAIN[@]}" "${BENCH[@]}") ;;
    all) packages=("${MAIN[@]}" "${TEST[@]}" "${BENCH[@]}" "${CI[@]}") ;;
esac

missing=()
for pkg in "${packages[@]}"; do
    if ! dpkg -s "$pkg" 2>/dev/null | grep -q '^Status: install ok installed$'; then
        missing+=("$pkg")
    fi
done

echo "install-deps ($set_name): needs ${packages[*]}"
if [[ ${#missing[@]} -eq 0 ]]; then
    echo "install-deps ($set_name): all present"
    exit 0
fi
if [[ $dry_run -eq 1 ]]; then
    echo "install-deps ($set_name): would install ${missing[*]}"
    exit 0
fi

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
    sudo_cmd=(sudo)
fi

echo "install-deps ($set_name): installing ${missing[*]}"
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
