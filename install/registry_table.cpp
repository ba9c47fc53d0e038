#include "install/registry_table.h"

namespace {

using enum ValueSource;

// Tunewell: a verb on folders and one on audio files, both named after the application.
constexpr ComponentValue tunewellValues[] = {
    {{L"Classes", L"Directory", L"shell", L"Tunewell"}, Text, L"Play with Tunewell"},
    {{L"Classes", L"Directory", L"shell", L"Tunewell", L"command"}, CommandString, nullptr},
    {{L"Classes", L"SystemFileAssociations", L"audio", L"shell", L"Tunewell"}, Text,
     L"Play with Tunewell"},
    {{L"Classes", L"SystemFileAssociations", L"audio", L"shell", L"Tunewell", L"command"},
     CommandString, nullptr},
};

constexpr ComponentValue notarelValues[] = {
    {{L"Classes", L".ntxt"}, Text, L"Notarel.Document"},
    {{L"Classes", L"Notarel.Document"}, Text, L"Notarel Document"},
    {{L"Classes", L"Notarel.Document", L"DefaultIcon"}, IconString, nullptr},
    {{L"Classes", L"Notarel.Document", L"shell"}, Text, L"open"},
    {{L"Classes", L"Notarel.Document", L"shell", L"open", L"command"}, CommandString, nullptr},
};

constexpr ComponentValue lockBinValues[] = {
    {{L"Classes", L".lbx"}, Text, L"LockBin.File"},
    {{L"Classes", L"LockBin.File"}, Text, L"LBX Encrypted File"},
    {{L"Classes", L"LockBin.File", L"DefaultIcon"}, IconString, nullptr},
    {{L"Classes", L"LockBin.File", L"shell"}, Text, L"open"},
    {{L"Classes", L"LockBin.File", L"shell", L"open", L"command"}, CommandString, nullptr},
};

constexpr ComponentValue packrillValues[] = {
    {{L"Classes", L".pkr"}, Text, L"Packrill.File"},
    {{L"Classes", L"Packrill.File"}, Text, L"Packrill Archive"},
    {{L"Classes", L"Packrill.File", L"DefaultIcon"}, IconString, nullptr},
    {{L"Classes", L"Packrill.File", L"shell"}, Text, L"open"},
    {{L"Classes", L"Packrill.File", L"shell", L"open", L"command"}, CommandString, nullptr},
};

}  // namespace

std::span<const ComponentValue> componentValues(uint32_t index) {
    switch (index) {
    case 4:
        return tunewellValues;
    case 5:
        return notarelValues;
    case 6:
        return lockBinValues;
    case 7:
        return packrillValues;
    default:
        return {};
    }
}
