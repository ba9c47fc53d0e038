// liblzma's result codes as sentences for the user.
#pragma once

#include <lzma.h>

#include <string_view>

std::string_view lzmaMessage(lzma_ret result);
