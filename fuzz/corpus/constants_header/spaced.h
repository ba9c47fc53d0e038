// PackageResourceSize is mentioned here
constexpr uint32_t PackageResourceSize = 297614u;
constexpr uint32_t PackageImageLength=2563195;
constexpr uint32_t PackageChecksum = 0XFA43AD57U ;
constexpr uint32_t PackageChecksumOld = 1u;
