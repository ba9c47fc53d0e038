#include "package/tool/help_text.h"

std::string_view helpText() {
    return R"(Usage: velkaris-pack build MANIFEST -o PACKAGE [--header CONSTANTS_H] [--best | OPTIONS]
       velkaris-pack verify PACKAGE [--header CONSTANTS_H]
       velkaris-pack list PACKAGE
       velkaris-pack extract PACKAGE DIR
       velkaris-pack --help

Builds, checks, lists and extracts the package resource of the installer: 5 LZMA
properties bytes followed by a raw LZMA1 stream that unpacks to an image of at most
4194304 bytes: an 11-row header (per entry a 32-bit size and a 64-bit FILETIME, all
little-endian), then the eleven files back to back.

Commands:
  build MANIFEST -o PACKAGE
      Lays out the files MANIFEST names, compresses the image and writes the resource
      to PACKAGE. MANIFEST names exactly eleven files in row order, one path a line,
      relative to the manifest's folder; blank lines and lines starting with '#' are
      skipped. The rows are: the licence, the applications Brinet, PaneVista,
      QuietVault, Padwick, Tunewell, Notarel, LockBin and Packrill, the other edition's
      uninstaller, and this edition's uninstaller.
      The licence must be 7-bit ASCII with CR LF between lines, no line break after
      the last line and no NUL byte; one longer than 511 bytes builds with a warning,
      since the installer shows only its first 511 bytes.
      The applications (rows 1 to 8) keep their files' last-write times, or the time
      SOURCE_DATE_EPOCH names when it is set, for byte-identical rebuilds; the licence
      and the uninstallers (rows 0, 9, 10) get no time.
      Prints the resource size, the encoder settings, the image length and checksum.
  verify PACKAGE
      Runs the installer's loader checks on PACKAGE and prints the result by name: Ok,
      ResourceInvalid, OutOfMemory or PackageCorrupt, with the reason of a failure.
      Without --header the expected sizes and checksum come from the file itself, and
      the stream must also end cleanly at its end-of-stream marker.
      For an installer the resource is as long as its resource entry says, which is
      the size its loader sees, and verify also prints the three constants the check
      used: without --header those derived from the stream, which the installer's
      code must hold for its loader to accept the resource. The constants compiled
      into its code are not read (that would take disassembling it); compare them
      with the publisher's constants header, or check against it with --header.
  list PACKAGE
      One line per entry: index, role, offset, size, and the time in ISO 8601 UTC
      ('-' for an entry without time).
  extract PACKAGE DIR
      Writes the eleven entries into DIR (created if missing) as 00-licence.txt,
      01-Brinet.exe ... 08-Packrill.exe, 09-other-uninstaller.exe and
      10-uninstaller.exe, with the stored times as last-write times (entries
      without a time keep the time of extraction), plus a manifest.txt that builds
      the same package again.

verify, list and extract also take an installer (VelkarisSetup.exe) for PACKAGE and
read it without running it: they find resource 102 of type RCDATA, in language 1033
or in the only language it has, through its PE32+ headers, section table and resource
tree, first print where it lies ("FILE: resource 102 (RCDATA, language 1033): SIZE
bytes at file offset OFFSET"), then read it as the package. A file that is neither a
package nor an installer gets one line that says why ("FILE: not a package and not an
installer: no resource 102 of type RCDATA") and exit status 1.

Options:
  -o PACKAGE              the resource file that build writes
  --header CONSTANTS_H    build: also write a C++ header with the package constants
                          PackageResourceSize, PackageImageLength and PackageChecksum;
                          verify: take the expected constants from that header
  --encoder NAME          the encoder: liblzma or 7zip (7-Zip's LZMA encoder)
  --lc N                  literal context bits, 0 to 4
  --lp N                  literal position bits, 0 to 4 (lc + lp at most 4)
  --pb N                  position bits, 0 to 4
  --dict SIZE             dictionary size in bytes, 4096 to 4194304; KiB and MiB
                          suffixes are accepted (default: the image length rounded
                          up to 2^n or 3 * 2^(n-1), so 3 MiB for a 2.5 MB image)
  --mf NAME               match finder: bt2, bt3 or bt4 (binary trees hashing 2, 3
                          or 4 bytes) or hc4 (hash chains)
  --nice N                nice match length, 7-Zip's fast bytes: 4 to 273; 7zip
                          needs 5 or more, so --nice 4 tries liblzma only
  --depth N               match finder search depth, 7-Zip's match cycles: 0 to
                          1000000000 (7-Zip's mc=1000000000, no limit in practice);
                          0 lets the encoder choose from the nice length
  --best                  build: try a whole grid of settings for the smallest
                          package (see below); takes no other encoder option
  -h, --help              show this text

By default build tries five settings in parallel and keeps the smallest stream (a tie
goes to the earlier one in this list): liblzma with bt4, lc 3, pb 2, nice length 273 and
depth 512 (the setting of 'xz --format=lzma -9e'), then 7-Zip with pb 1 and lc 3, bt3,
nice 273, depth 1000; lc 3, bt4, nice 273, depth 1000; lc 0, bt3, nice 273, depth 0;
lc 4, bt3, nice 224, depth 0 (all lp 0). --encoder keeps the settings of that encoder
only; each other encoder option fixes its setting in all of them, so --encoder 7zip
--lc 3 --pb 1 --mf bt3 --nice 273 --depth 1000 tries just one.
--best, for a release, tries those five and then 7-Zip with every lc 0 to 4 and pb 0 to
2 (lp 0), with bt4 and with bt3, at nice 273 and depth 1000000000: 35 settings, as many
at once as there are cores, one line on standard error as each ends. It keeps the
smallest, the earlier in that order on a tie, so it is never larger than the default or
than any of those settings, and the result does not depend on timing or the number of
cores. It does seven times the work of the default search.
The result is checked with the installer's own loader before it is written. Output
files appear complete or not at all.

Exit status: 0 success, 1 error (bad input, damaged package, failed read or write,
or a verify result other than Ok), 2 bad command line.
)";
}
