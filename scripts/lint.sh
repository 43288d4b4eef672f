#!/usr/bin/env bash
# Developer lint: clang-format check over src tests bench examples fuzz, then
# clang-tidy over src/**/*.cpp using build/debug/compile_commands.json.
# Not part of CI. Usage: scripts/lint.sh [--format-only|--tidy-only]
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

CLANG_FORMAT=${CLANG_FORMAT:-clang-format}
CLANG_TIDY=${CLANG_TIDY:-clang-tidy}
BUILD_DIR=${BUILD_DIR:-build/debug}
mode=${1:-all}
status=0

if [[ $mode != --tidy-only ]]; then
    mapfile -d '' format_files < <(find src tests bench examples fuzz -type f \
        \( -name '*.cpp' -o -name '*.h' -o -name '*.hpp' \) -print0 2>/dev/null | sort -z)
    if [[ ${#format_files[@]} -gt 0 ]]; then
        echo "lint: clang-format on ${#format_files[@]} files"
        "$CLANG_FORMAT" --dry-run --Werror "${format_files[@]}" || status=1
    fi
fi

if [[ $mode != --format-only ]]; then
    if [[ ! -f $BUILD_DIR/compile_commands.json ]]; then
        echo "lint: $BUILD_DIR/compile_commands.json is missing; run 'cmake --preset debug' first" >&2
        exit 2
    fi
    mapfile -d '' tidy_files < <(find src -type f -name '*.cpp' -print0 | sort -z)
    if [[ ${#tidy_files[@]} -gt 0 ]]; then
        echo "lint: clang-tidy on ${#tidy_files[@]} files"
        printf '%s\0' "${tidy_files[@]}" |
            xargs -0 -n 1 -P "$(nproc)" "$CLANG_TIDY" -p "$BUILD_DIR" --quiet || status=1
    fi
fi

exit $status
