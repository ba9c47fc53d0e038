#!/usr/bin/env bash
# Remakes the committed package seeds of the loader fuzzers (fuzz/corpus/package) and the
# constants header of the small seed package (fuzz/seed/package_constants.h):
# - seed.pkg: built by the package tool from a two-line licence and ten short programs;
# - packages the tool refuses to build, compressed with xz as raw LZMA1 streams behind the
#   5 properties bytes (lc 3, lp 0, pb 2, 64 KiB dictionary): header sizes that do not add
#   up, sizes whose sum wraps around 32 bits to the image length, an image shorter than its
#   header, the largest image the unpack block holds, and an image larger than the block.
# Usage: fuzz/seed/make_seeds.sh PATH-TO-velkaris-pack
set -euo pipefail
tool=$1
here=$(cd "$(dirname "$0")" && pwd)
corpus="$here/../corpus/package"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

le32() {
    local v=$1
    printf "\\x$(printf %02x $((v & 255)))\\x$(printf %02x $((v >> 8 & 255)))"
    printf "\\x$(printf %02x $((v >> 16 & 255)))\\x$(printf %02x $((v >> 24 & 255)))"
}

# Header of eleven rows: the sizes given, no time stamps.
header() {
    local size
    for size in "$@"; do
        le32 "$size"
        printf '\0\0\0\0\0\0\0\0'
    done
}

# Compresses the image on stdin into a package resource on stdout.
package() {
    printf '\x5d\x00\x00\x01\x00'
    xz --format=raw --lzma1=preset=6,lc=3,lp=0,pb=2,dict=64KiB --stdout
}

printf 'Seed licence, line one.\r\nLine two.' > "$work/licence.txt"
echo licence.txt > "$work/manifest"
for i in 1 2 3 4 5 6 7 8 9 10; do
    printf 'MZ seed program %d %0*d' "$i" "$((i * 3))" 0 > "$work/program$i.exe"
    echo "program$i.exe" >> "$work/manifest"
done
SOURCE_DATE_EPOCH=1690848000 "$tool" build "$work/manifest" -o "$corpus/seed.pkg" \
    --header "$work/package_constants.h"
sed 's/^\/\/ The package this build carries; .*$/\/\/ The constants of fuzz\/corpus\/package\/seed.pkg, written by velkaris-pack (make_seeds.sh)./' \
    "$work/package_constants.h" > "$here/package_constants.h"

{ header 10 0 0 0 0 0 0 0 0 0 0; printf 'ten bytes.!'; } | package > "$corpus/sum-too-small.pkg"
{ header 2147483648 2147483648 10 0 0 0 0 0 0 0 0; printf 'ten bytes.'; } |
    package > "$corpus/sum-wraps.pkg"
printf 'An image shorter than the header.' | package > "$corpus/short-image.pkg"
{ header 4194172 0 0 0 0 0 0 0 0 0 0; head -c 4194172 /dev/zero; } | package > "$corpus/largest-image.pkg"
{ header 4194173 0 0 0 0 0 0 0 0 0 0; head -c 4194173 /dev/zero; } | package > "$corpus/image-too-large.pkg"
printf '\xe1\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00' > "$corpus/bad-properties.pkg"
