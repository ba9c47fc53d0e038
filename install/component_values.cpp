// The registry values of one installed application, written row by row from its table.
#include "install/registry_table.h"
#include "install/step_parts.h"
#include "setup/path_helpers.h"

namespace {

const wchar_t* valueData(const ComponentValue& value, const StepBuffers& buffers) {
    switch (value.source) {
    case ValueSource::IconString:
        return buffers.icon;
    case ValueSource::CommandString:
        return buffers.command;
    case ValueSource::Text:
        break;
    }
    return value.text;
}

}  // namespace

void writeComponentValues(SetupContext& setup, uint32_t index, const StepBuffers& buffers) {
    const std::span<const ComponentValue> values = componentValues(index);
    for (const ComponentValue& value : values) {
        const wchar_t* const* parts = value.keyParts;
        const wchar_t* keyPath =
            buildKeyPath(setup, parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]);
        // Every value here is its key's default value.
        writeTextValue(setup, keyPath, nullptr, valueData(value, buffers));
    }
    if (!values.empty()) {
        setup.associationsChanged = 1;
    }
}
