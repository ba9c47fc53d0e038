#include "package/tool/lzma_messages.h"

std::string_view lzmaMessage(lzma_ret result) {
    switch (result) {
    case LZMA_MEM_ERROR:
        return "Memory allocation failed";
    case LZMA_MEMLIMIT_ERROR:
        return "Memory usage limit reached";
    case LZMA_FORMAT_ERROR:
        return "File format not recognized";
    case LZMA_OPTIONS_ERROR:
        return "Unsupported LZMA1 options";
    case LZMA_DATA_ERROR:
        return "Compressed data is corrupt";
    case LZMA_BUF_ERROR:
        return "Unexpected end of input";
    case LZMA_PROG_ERROR:
        return "Internal error (bug)";
    default:
        return "Unknown error in liblzma";
    }
}
