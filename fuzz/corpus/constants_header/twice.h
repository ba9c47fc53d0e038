constexpr uint32_t PackageResourceSize = 1u;
constexpr uint32_t PackageResourceSize = 2u;
constexpr uint32_t PackageImageLength = 4294967296u;
