// The fingerprints of the applications this build packs, in package order.
#pragma once

#include <span>

#include "uninstall/application_fingerprint.h"

std::span<const ApplicationFingerprint> packedApplications();
