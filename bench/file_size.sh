# Installer file size, sourced by bench/run: the shipped file, what the package resource takes,
# the rest as built and stripped, and the sections that hold it.

# section_sizes EXE: "name size" per section, sizes in decimal.
section_sizes() {
  x86_64-w64-mingw32-objdump -h "$1" | awk '$1 ~ /^[0-9]+$/ { print $2, $3 }' |
    while read -r name hex; do echo "$name $((16#$hex))"; done
}

# size_rows EXE PACKAGE WORK (row comes from compression.sh)
size_rows() {
  local exe=$1 package=$2 work=$3 limit=$((100 * 1024))
  local file package_size stripped debug rsrc sections
  file=$(stat -c %s "$exe")
  package_size=$(stat -c %s "$package")
  x86_64-w64-mingw32-strip -o "$work/stripped.exe" "$exe"
  stripped=$(stat -c %s "$work/stripped.exe")
  debug=$(section_sizes "$exe" | awk '$1 ~ /^\.debug/ { s += $2 } END { print s + 0 }')
  rsrc=$(section_sizes "$exe" | awk '$1 == ".rsrc" { print $2 }')
  sections=$(section_sizes "$work/stripped.exe" |
    awk '$1 != ".rsrc" { printf "%s%s %d", sep, $1, $2; sep = ", " }')
  local beyond=$((file - package_size)) beyond_stripped=$((stripped - package_size))
  local verdict=NO verdict_stripped=NO
  [ "$beyond" -lt "$limit" ] && verdict=yes
  [ "$beyond_stripped" -lt "$limit" ] && verdict_stripped=yes
  row "file size" "VelkarisSetup.exe as shipped in build/out (package resource $package_size, .rsrc $rsrc, \
debug sections $debug)" "$file bytes"
  row "file size" "as shipped, beyond the package resource" "$beyond bytes" \
    "< 100 KiB ($limit)" "$verdict"
  row "file size" "stripped (strip), beyond the package resource" "$beyond_stripped bytes" \
    "< 100 KiB ($limit)" "$verdict_stripped"
  row "file size" "stripped, sections other than .rsrc" "$sections"
}
