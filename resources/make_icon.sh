#!/usr/bin/env bash
# Writes icon 101 of the installer (setup.ico, committed): one 16 x 16 image with one bit
# per pixel in the two colours black and RGB(52, 171, 255). The picture is a blue tile
# with a black frame and a black V; the four corner pixels are transparent.
#   resources/make_icon.sh [OUTPUT]     (default: setup.ico beside this script)
set -euo pipefail
out=${1:-$(dirname "$0")/setup.ico}

# K black, B blue, . transparent; top row first.
picture=(
  .KKKKKKKKKKKKKK.
  KBBBBBBBBBBBBBBK
  KBBBBBBBBBBBBBBK
  KBBKKBBBBBBKKBBK
  KBBKKBBBBBBKKBBK
  KBBBKKBBBBKKBBBK
  KBBBKKBBBBKKBBBK
  KBBBBKKBBKKBBBBK
  KBBBBKKBBKKBBBBK
  KBBBBBKKKKBBBBBK
  KBBBBBKKKKBBBBBK
  KBBBBBBKKBBBBBBK
  KBBBBBBBBBBBBBBK
  KBBBBBBBBBBBBBBK
  KBBBBBBBBBBBBBBK
  .KKKKKKKKKKKKKK.
)

hex=""
u8() { hex+=$(printf '%02x' "$1"); }
u16() { u8 $(($1 & 255)); u8 $(($1 >> 8 & 255)); }
u32() { u16 $(($1 & 65535)); u16 $(($1 >> 16 & 65535)); }

# One row of the picture as a 16-bit mask (leftmost pixel in the top bit), padded to 32
# bits as bitmap rows are: the colour plane sets the blue pixels, the mask the
# transparent ones.
row_bits() {
  local row=$1 wanted=$2 bits=0 x
  for x in $(seq 0 15); do
    [ "${row:x:1}" = "$wanted" ] && bits=$((bits | 0x8000 >> x))
  done
  u8 $((bits >> 8)); u8 $((bits & 255)); u16 0
}

image_size=$((40 + 2 * 4 + 16 * 4 + 16 * 4))
# Icon directory: reserved, type 1 (icon), one image.
u16 0; u16 1; u16 1
# Its entry: 16 x 16, 2 colours, 1 plane, 1 bit per pixel, size, offset after the header.
u8 16; u8 16; u8 2; u8 0; u16 1; u16 1; u32 "$image_size"; u32 22
# Bitmap header: the height counts the colour plane and the mask together.
u32 40; u32 16; u32 32; u16 1; u16 1; u32 0; u32 $((16 * 4 * 2)); u32 0; u32 0; u32 2; u32 0
# Palette (blue, green, red, 0): index 0 black, index 1 RGB(52, 171, 255).
u32 0; u8 255; u8 171; u8 52; u8 0
# Bitmap rows go bottom-up.
for y in $(seq 15 -1 0); do row_bits "${picture[y]}" B; done
for y in $(seq 15 -1 0); do row_bits "${picture[y]}" .; done

printf "$(sed 's/../\\x&/g' <<<"$hex")" >"$out"
