# Compression benchmark, sourced by bench/run. Builds a package with the tool's defaults and
# compresses the same image with `xz --format=lzma -9e` and with 7-Zip's LZMA at its
# strongest settings; every size is the bare LZMA stream with its end marker, no container.

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

# compression_rows NAME STEM MANIFEST WORK TOOL PACKAGE_IMAGE: the table rows of one image;
# the package stays behind as WORK/STEM.pkg.
compression_rows() {
  local name=$1 stem=$2 manifest=$3 work=$4 tool=$5 package_image=$6
  local package="$work/$stem.pkg" image="$work/$stem.img" start end summary settings
  start=$(date +%s%N)
  summary=$("$tool" build "$manifest" -o "$package" 2>/dev/null)
  end=$(date +%s%N)
  settings=$(printf '%s\n' "$summary" | sed -n 's/.*(\(encoder [^)]*\)).*/\1/p')
  local dictionary tool_stream xz_stream
  dictionary=$(printf '%s\n' "$settings" | sed -n 's/.*dictionary \([0-9]*\).*/\1/p')
  tool_stream=$(( $(stat -c %s "$package") - 5 ))
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

  local area="compression, $name" smaller=NO no_larger=NO
  [ "$tool_stream" -lt "$xz_stream" ] && smaller=yes
  [ "$tool_stream" -le "$best" ] && no_larger=yes
  row "$area" "image (licence + 10 executables)" "$(stat -c %s "$image") bytes"
  row "$area" "velkaris-pack build, defaults ($settings)" \
    "$tool_stream bytes in $(( (end - start) / 1000000 )) ms"
  row "$area" "xz --format=lzma -9e" \
    "$xz_stream bytes; tool / xz = $(ratio "$tool_stream" "$xz_stream")" "tool smaller" "$smaller"
  row "$area" "7-Zip LZMA, best of 30 (${best_settings//:/ }, fb 273)" \
    "$best bytes; tool / 7-Zip = $(ratio "$tool_stream" "$best")" "tool no larger" "$no_larger"
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
