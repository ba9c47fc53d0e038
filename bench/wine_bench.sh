# The installer under Wine, sourced by bench/run: a display and a private copy of a pristine
# prefix of the bench's own, the probe driving RUNS installations and the timing of the
# operations a step is made of; then everything it started is stopped and removed again.

# wine_rows ROOT BENCH_BUILD OUT RUNS
wine_rows() (
  local root=$1 bench_build=$2 out=$3 runs=$4
  source "$root/scripts/wine/wine-env"
  local pristine="$bench_build/wine/prefix"
  if [ ! -f "$pristine/system.reg" ]; then
    rm -rf "$pristine"
    mkdir -p "$pristine"
    WINEPREFIX="$pristine" wineboot -i >/dev/null 2>&1
    WINEPREFIX="$pristine" stop_wineserver
    [ -f "$pristine/system.reg" ] || { echo "wineboot did not create a prefix" >&2; return 1; }
  fi
  xvfb_pid=
  WINEPREFIX=
  trap 'if [ -n "$WINEPREFIX" ]; then stop_wineserver; rm -rf "$WINEPREFIX"; fi
        if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi' EXIT
  start_xvfb
  WINEPREFIX=$(copy_prefix "$pristine")
  export WINEPREFIX
  wine "$bench_build/install_probe.exe" "$(winepath -w "$out/VelkarisSetup.exe" | tr -d '\r')" \
    "$runs" "$(winepath -w "$out/pack/Brinet.exe" | tr -d '\r')" | tr -d '\r'
  wine "$bench_build/step_primitives.exe" "$(stat -c %s "$out/pack/Brinet.exe")" | tr -d '\r'
)
