#!/usr/bin/env bash
# Remakes the committed seeds of the installer reader's fuzzer (fuzz/corpus/pe): small
# 64-bit programs linked by MinGW, each with resources as an installer has them:
# - installer.exe: the seed package as RCDATA 102 between RCDATA 101 and 103, and a
#   manifest, all in language 1033;
# - only-german.exe: the seed package as RCDATA 102 in language 1031 alone;
# - no-package.exe: RCDATA 101 and a manifest, no 102.
# Usage: fuzz/seed/make_pe_seeds.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
corpus="$here/../corpus/pe"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$corpus"
cp "$here/../corpus/package/seed.pkg" "$work/seed.pkg"
echo 'void entry(void) {}' > "$work/entry.c"

# program NAME: links the resources of $work/NAME.rc into $corpus/NAME.exe.
program() {
  x86_64-w64-mingw32-windres -I "$work" "$work/$1.rc" -O coff -o "$work/$1.o"
  x86_64-w64-mingw32-gcc -nostdlib -e entry -s -Wl,--no-insert-timestamp \
    -o "$corpus/$1.exe" "$work/entry.c" "$work/$1.o"
  chmod 644 "$corpus/$1.exe"
}

cat > "$work/installer.rc" <<'RC'
LANGUAGE 0x09, 0x01
101 RCDATA { "other" }
102 RCDATA "seed.pkg"
103 RCDATA { "more" }
1 24 { "<assembly/>" }
RC
cat > "$work/only-german.rc" <<'RC'
LANGUAGE 0x07, 0x01
102 RCDATA "seed.pkg"
RC
cat > "$work/no-package.rc" <<'RC'
LANGUAGE 0x09, 0x01
101 RCDATA { "other" }
1 24 { "<assembly/>" }
RC
for name in installer only-german no-package; do program "$name"; done
