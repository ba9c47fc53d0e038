#include "setup/package_resource.h"

#include "package/package_loader.h"
#include "package/package_types.h"
#include "package_constants.h"
#include "setup/setup_context.h"

namespace {

// Finds and locks RCDATA 102; leaves packageData null when it is missing, empty or cannot be
// loaded. The resource stays mapped for the whole run.
void findPackageResource(SetupContext& setup) {
    setup.packageData = nullptr;
    setup.packageSize = 0;
    HRSRC resource = FindResourceW(setup.instance, MAKEINTRESOURCEW(PackageResourceId),
                                   MAKEINTRESOURCEW(PackageResourceType));
    if (resource == nullptr) {
        return;
    }
    setup.packageSize = SizeofResource(setup.instance, resource);
    if (setup.packageSize == 0) {
        return;
    }
    HGLOBAL loaded = LoadResource(setup.instance, resource);
    if (loaded != nullptr) {
        setup.packageData = static_cast<const uint8_t*>(LockResource(loaded));
    }
}

}  // namespace

uint32_t loadPackage(SetupContext& setup) {
    findPackageResource(setup);
    constexpr PackageConstants built = {PackageResourceSize, PackageImageLength, PackageChecksum};
    return unpackPackage(setup.packageData, setup.packageSize, built, setup.unpacked,
                         setup.entries);
}
