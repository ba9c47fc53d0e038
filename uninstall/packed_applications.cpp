#include "uninstall/packed_applications.h"

#include "uninstall/removal_plan.h"
#include "packed_application_fingerprints.h"  // written by the build

namespace {

constexpr bool namedAsTheUninstallerNamesThem()
{
    if (PackedApplications.size() != ApplicationNames.size()) {
        return false;
    }
    for (size_t i = 0; i < ApplicationNames.size(); ++i) {
        if (PackedApplications[i].name != ApplicationNames[i]) {
            return false;
        }
    }
    return true;
}

static_assert(namedAsTheUninstallerNamesThem(),
              "the build packs other applications, or in another order, than the uninstaller "
              "removes");

}  // namespace

std::span<const ApplicationFingerprint> packedApplications() { return PackedApplications; }
