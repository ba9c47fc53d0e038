// Finds the package in an installer without running it: resource 102 of type RCDATA, in
// language 1033 or in the only language it has, reached as the loader reaches it: the DOS
// header, the PE signature, the PE32+ optional header's resource directory (data directory
// 2), the section table that maps addresses to file offsets, and the three levels of the
// resource tree (type, name, language). Every field comes from untrusted bytes and is
// checked against the file before it is used.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

struct PeResource {
    uint64_t fileOffset;  // where its bytes start in the file
    uint32_t size;        // as its data entry states: what SizeofResource reports
    uint32_t language;
};

struct PeResourceSearch {
    std::optional<PeResource> resource;
    std::string problem;  // why there is none: "not a PE file", "no resource 102 of type RCDATA"
};

// Whether the file starts as every Windows program does, with "MZ". No package can: as its
// properties byte, 'M' would be lc 5 and lp 3, which no LZMA1 decoder takes.
bool startsAsPeFile(std::span<const uint8_t> file);

PeResourceSearch findPackageResource(std::span<const uint8_t> file);
