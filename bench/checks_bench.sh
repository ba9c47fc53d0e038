# The Windows checks folder under each Wine, sourced by bench/run: the wall time of
# scripts/wine/run-checks, that is run-checks.cmd from Wine's cmd with every check of the
# folder, plus a fresh prefix copy and display (a few seconds); and the slowest checks.

# checks_rows ROOT OUT: one row per runtime.
checks_rows() {
  local root=$1 out=$2 runtime start end said status
  for runtime in wine8 wine10; do
    start=$(date +%s%N)
    status=0
    said=$("$root/scripts/wine/run-checks" --runtime "$runtime" --folder "$out/windows-checks" \
      --results "$root/build/windows/checks-results/bench-$runtime" 2>&1) || status=$?
    end=$(date +%s%N)
    printf '%s\n' "$said" >&2
    local summary slowest
    summary=$(grep '^checks: ' <<<"$said" || echo "no summary, exit code $status")
    slowest=$(grep -E '^(PASS|FAIL)  ' <<<"$said" | awk '{ print $3, $2 }' | sort -rn | head -n 3 |
      awk '{ printf "%s%s %s s", (NR > 1 ? ", " : ""), $2, $1 }')
    echo "| Windows checks | run-checks.cmd under ${runtime/wine/Wine }, every check (${summary#checks: }) | $(( (end - start) / 1000000 )) ms | - | - |"
    echo "| Windows checks | slowest under ${runtime/wine/Wine } | $slowest | - | - |"
  done
}
