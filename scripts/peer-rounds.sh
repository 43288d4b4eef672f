#!/usr/bin/env bash
# Interleaved rounds against the sampling peer's harness: each round runs the peer's cases
# A and B (product implication, 100 samples) and E (its text import), then fzl's matching
# benchmarks, and prints each round's ratios (fzl / peer) and their medians.
#   cmake --workflow --preset bench && scripts/peer-rounds.sh            # 5 rounds
#   ROUNDS=9 FZL_BENCH=/path/to/fzl_bench scripts/peer-rounds.sh
# PEER_HARNESS defaults to ../shared/anchors/fuzzylite beside the project; its ./build.sh
# needs the peer's Debian package (libfuzzylite-dev). Nothing here runs in CI.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."
rounds="${ROUNDS:-5}"
bench="${FZL_BENCH:-build/bench/bench/fzl_bench}"
peer="${PEER_HARNESS:-../shared/anchors/fuzzylite}"
[[ -x $bench ]] || { echo "peer-rounds: $bench is missing; run 'cmake --workflow --preset bench'" >&2; exit 2; }
[[ -x $peer/bench ]] || (cd "$peer" && ./build.sh)

filter='BM_(MamdaniCycle[AB]|RuleBaseCycle[AB]|ParseDefinitionText)$'
printf '%-5s %9s %9s %9s %9s %9s %9s\n' round cycleA cycleB ruleA ruleB parse "peer A/B/E"
results=()
for round in $(seq 1 "$rounds"); do
    peer_out="$(cd "$peer" && FL_IMPLICATION=product ./bench AB && ./bench E)"
    fzl_out="$("$bench" --benchmark_filter="$filter" --benchmark_repetitions=5 \
        --benchmark_report_aggregates_only=true 2>/dev/null)"
    # Everything in ns: the peer reports E in ms, fzl each benchmark in its own unit.
    line="$(awk -v round="$round" '
        function ns(value, unit) { return unit == "ms" ? value * 1e6 : (unit == "us" ? value * 1e3 : value) }
        /^RESULT case=A .* resolution=100 / { for (f = 1; f <= NF; f++) if ($f ~ /^ns_per_op=/) { split($f, kv, "="); pa = kv[2] } }
        /^RESULT case=B .* resolution=100 / { for (f = 1; f <= NF; f++) if ($f ~ /^ns_per_op=/) { split($f, kv, "="); pb = kv[2] } }
        /^RESULT case=E / { for (f = 1; f <= NF; f++) if ($f ~ /^ms_per_import=/) { split($f, kv, "="); pe = kv[2] * 1e6 } }
        /^BM_MamdaniCycleA_median/ { ca = ns($2, $3) }
        /^BM_MamdaniCycleB_median/ { cb = ns($2, $3) }
        /^BM_RuleBaseCycleA_median/ { ra = ns($2, $3) }
        /^BM_RuleBaseCycleB_median/ { rb = ns($2, $3) }
        /^BM_ParseDefinitionText_median/ { pd = ns($2, $3) }
        END { printf "%d %.3f %.3f %.3f %.3f %.3f %.0f/%.0f/%.0f\n", round, ca / pa, cb / pb, ra / pa, rb / pb, pd / pe, pa, pb, pe }
    ' <<<"$peer_out"$'\n'"$fzl_out")"
    results+=("$line")
    printf '%-5s %9s %9s %9s %9s %9s %s\n' $line
done
printf '%s\n' "${results[@]}" | awk '
    { for (c = 2; c <= 6; c++) v[c, NR] = $c }
    END {
        printf "%-5s", "median"
        for (c = 2; c <= 6; c++) {
            n = 0; for (r = 1; r <= NR; r++) x[++n] = v[c, r]
            for (i = 1; i <= n; i++) for (j = i + 1; j <= n; j++) if (x[j] + 0 < x[i] + 0) { t = x[i]; x[i] = x[j]; x[j] = t }
            printf " %9s", x[int((n + 1) / 2)]
        }
        printf "\n"
    }'
echo "targets: cycle A <= 0.33, cycle B <= 0.35, rule base A <= 0.4, rule base B <= 0.25, parse <= 0.2"
