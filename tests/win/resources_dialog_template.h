// Reads a compiled dialog template (standard DLGTEMPLATE or extended DLGTEMPLATEEX) into
// plain records, so that tests can compare it field by field with the intended layout.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// A name-or-ordinal field: menu, window class, control class or text.
struct TemplateName {
    std::wstring text;
    std::optional<uint16_t> ordinal;
};

struct DialogItem {
    int32_t id;  // -1 stands for both 0xFFFF (standard) and 0xFFFFFFFF (extended)
    uint32_t style;
    uint32_t exStyle;
    int16_t x, y, cx, cy;
    std::wstring className;  // a predefined class stored as an ordinal reads as its name
    TemplateName text;
    uint16_t extraBytes;
};

struct DialogTemplate {
    bool extended;
    uint32_t style;
    uint32_t exStyle;
    int16_t x, y, cx, cy;
    TemplateName menu;
    TemplateName windowClass;
    std::wstring caption;
    uint16_t pointSize;
    uint16_t weight;   // extended templates only
    uint8_t italic;    // extended templates only
    uint8_t charset;   // extended templates only
    std::wstring typeface;
    std::vector<DialogItem> items;
};

// Empty when the bytes end before the template does.
std::optional<DialogTemplate> parseDialogTemplate(std::span<const uint8_t> bytes);

// The bytes of a resource of this module, or an empty span when there is none.
std::span<const uint8_t> moduleResource(const wchar_t* type, WORD id);
