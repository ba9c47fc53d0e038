# Compression benchmark, sourced by bench/run. Builds a package with the tool's defaults and
# with `--best`, and compresses the same image with `xz --format=lzma -9e` and with 7-Zip's
# LZMA at its strongest settings; every size is the bare LZMA stream with its end marker, no
# container.

# The 7-Zip settings tried: every lc and pb with lp 0, with both binary-tree match finders,
# at the longest fast-bytes length and the deepest match cycles.
seven_zip_settings() {
  local mf lc pb
  for mf in bt4 bt3; do
    for lc in 0 1 2 3 4; do
      for pb in 0 1 2; do echo "lc=$lc:lp=0:pb=$pb:mf=$mf"; done
    done
  done
}

# seven_zip_stream IMAGE DICTIONARY SETTINGS WORK: the packed size of one 7z archive holding
# only IMAGE, stored with the end marker (the stream alone: 7z keeps sizes in its headers).
seven_zip_stream() {
  local archive="$4/stream.7z"
  rm -f "$archive"
  7zz a -t7z -bd -bso0 -bsp0 -mx=9 -mf=off -mhc=off \
    "-m0=LZMA:d=${2}b:fb=273:mc=1000000000:$3:eos" "$archive" "$1" >/dev/null
  7zz l -slt "$archive" | sed -n 's/^Packed Size = //p' | head -n 1
}

# row AREA MEASURE FIGURE [GOAL HOLDS]: one line of the table.
row() { echo "| $1 | $2 | $3 | ${4:--} | ${5:--} |"; }

# ratio A B: A / B, and how much larger A is in per cent.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.5f (%+.3f %%)", a / b, (a / b - 1) * 100 }'; }

# timed_build TOOL MANIFEST PACKAGE [OPTIONS...]: builds the package; sets built_settings
# to the settings the build chose, built_stream to its stream's size and built_time to
# "W ms wall, C ms CPU".
timed_build() {
  local tool=$1 manifest=$2 package=$3 start end cpu summary TIMEFORMAT='%U %S'
  shift 3
  start=$(date +%s%N)
  cpu=$( { time "$tool" build "$manifest" -o "$package" "$@" >"$package.summary" 2>/dev/null; } \
    2>&1 )
  end=$(date +%s%N)
  summary=$(cat "$package.summary")
  built_settings=$(printf '%s\n' "$summary" | sed -n 's/.*(\(encoder [^)]*\)).*/\1/p')
  built_stream=$(( $(stat -c %s "$package") - 5 ))
  built_time="$(( (end - start) / 1000000 )) ms wall, $(awk -v u="${cpu% *}" -v s="${cpu#* }" \
    'BEGIN { printf "%.0f", (u + s) * 1000 }') ms CPU"
}

# compression_rows NAME STEM MANIFEST WORK TOOL PACKAGE_IMAGE: the table rows of one image;
# the default build's package stays behind as WORK/STEM.pkg.
compression_rows() {
  local name=$1 stem=$2 manifest=$3 work=$4 tool=$5 package_image=$6
  local package="$work/$stem.pkg" image="$work/$stem.img"
  local settings tool_stream tool_time full_settings full_stream full_time
  timed_build "$tool" "$manifest" "$work/$stem-best.pkg" --best
  full_settings=$built_settings full_stream=$built_stream full_time=$built_time
  timed_build "$tool" "$manifest" "$package"
  settings=$built_settings tool_stream=$built_stream tool_time=$built_time
  local dictionary xz_stream
  dictionary=$(printf '%s\n' "$settings" | sed -n 's/.*dictionary \([0-9]*\).*/\1/p')
  "$package_image" "$package" "$image"
  xz_stream=$(( $(xz --format=lzma -9e -c "$image" | wc -c) - 13 ))

  local best='' best_settings='' stream setting
  for setting in $(seven_zip_settings); do
    stream=$(seven_zip_stream "$image" "$dictionary" "$setting" "$work")
    if [ -z "$best" ] || [ "$stream" -lt "$best" ]; then
      best=$stream
      best_settings=$setting
    fi
  done

  local area="compression, $name" smaller=NO no_larger=NO full_no_larger=NO
  [ "$tool_stream" -lt "$xz_stream" ] && smaller=yes
  [ "$tool_stream" -le "$best" ] && no_larger=yes
  [ "$full_stream" -le "$best" ] && full_no_larger=yes
  row "$area" "image (licence + 10 executables)" "$(stat -c %s "$image") bytes"
  row "$area" "velkaris-pack build, defaults ($settings)" "$tool_stream bytes in $tool_time"
  row "$area" "velkaris-pack build --best ($full_settings)" \
    "$full_stream bytes in $full_time; --best / defaults = $(ratio "$full_stream" "$tool_stream")"
  row "$area" "xz --format=lzma -9e" \
    "$xz_stream bytes; tool / xz = $(ratio "$tool_stream" "$xz_stream")" "tool smaller" "$smaller"
  row "$area" "7-Zip LZMA, best of 30 (${best_settings//:/ }, fb 273)" \
    "$best bytes; tool / 7-Zip = $(ratio "$tool_stream" "$best")" "tool no larger" "$no_larger"
  row "$area" "7-Zip LZMA, best of 30, against --best" \
    "--best / 7-Zip = $(ratio "$full_stream" "$best")" "--best no larger" "$full_no_larger"
}

# corpus_manifest WORK: writes a manifest of real third-party Windows executables (Wine's
# PE builds, without the DWARF sections Debian leaves in them, as a publisher ships its
# programs) behind a licence-like text made from the BSD licence; prints its path.
corpus_manifest() {
  local work=$1 wine_pe=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows name
  local licence=/usr/share/common-licenses/BSD
  [ -f "$licence" ] || { echo "no $licence" >&2; return 1; }
  # CR LF between lines, none after the last, as the package's licence entry wants.
  sed -e :a -e '/^\n*$/{$d;N;ba' -e '}' "$licence" | sed 's/$/\r/' |
    head -c -2 > "$work/licence.txt"
  {
    echo licence.txt
    for name in notepad progman winemine xcopy msiexec dxdiag start iexplore regsvr32 attrib; do
      # The copy keeps the program's time, so every run packs the same image.
      x86_64-w64-mingw32-strip --strip-debug -o "$work/$name.exe" "$wine_pe/$name.exe" &&
        touch -r "$wine_pe/$name.exe" "$work/$name.exe" || return 1
      echo "$name.exe"
    done
  } > "$work/corpus.manifest"
  echo "$work/corpus.manifest"
}
