#!/usr/bin/env bash
# Runs every libFuzzer target of the `fuzz` preset over its starting corpus. Extra
# arguments go to each target (default: 45 seconds each). New corpus entries go
# to a temporary directory (or to $FZL_FUZZ_KEEP/<target>), so the inputs in
# fuzz/corpus/ stay as committed; a finding is kept in build/fuzz/findings/ and
# fails the run.
#   cmake --workflow --preset fuzz && scripts/fuzz.sh                  # 45 s each
#   FZL_FUZZ_TARGETS="rules cli" scripts/fuzz.sh -max_total_time=30     # some targets only
# A long campaign uses the faster fuzz-campaign build (UndefinedBehaviorSanitizer
# only, no comparison tracing), keeps what it grows (FZL_FUZZ_KEEP), and then
# replays that under the fuzz build:
#   cmake --workflow --preset fuzz-campaign
#   FZL_FUZZ_BUILD=build/fuzz-campaign FZL_FUZZ_KEEP=/tmp/grown \
#     scripts/fuzz.sh -runs=10000000 -entropic=0
#   FZL_FUZZ_KEEP=/tmp/grown scripts/fuzz.sh -runs=0                   # the replay
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
[[ $# -gt 0 ]] || set -- -max_total_time=45
build="${FZL_FUZZ_BUILD:-build/fuzz}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
grown="${FZL_FUZZ_KEEP:-$work}"
findings="build/fuzz/findings"
mkdir -p "$findings"

status=0
for corpus in fuzz/corpus/*/; do
    name="$(basename "$corpus")"
    if [[ -n "${FZL_FUZZ_TARGETS:-}" && " $FZL_FUZZ_TARGETS " != *" $name "* ]]; then continue; fi
    target="$build/fuzz/fzl_fuzz_${name}"
    [[ -x $target ]] || { echo "fuzz: $target is missing; run its preset's workflow" >&2; exit 2; }
    mkdir -p "$grown/$name"
    echo "==== fuzz: $name $*"
    start=$SECONDS
    if ! "$target" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$findings/${name}-" "$@" "$grown/$name" "$corpus"; then
        echo "fuzz: $name found a problem (see $findings/)" >&2
        status=1
    fi
    echo "fuzz: $name took $((SECONDS - start)) s"
done
exit $status
