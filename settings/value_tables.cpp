#include "settings/value_tables.h"

namespace settings {

// The list positions are plain ints in the window; every default must name a real row.
static_assert(kDefaultBaudRatePosition >= 0 &&
              kDefaultBaudRatePosition < static_cast<int>(kBaudRates.size()));
static_assert(kDefaultLineModePosition >= 0 &&
              kDefaultLineModePosition < static_cast<int>(kLineModes.size()));
static_assert(kDefaultEthernetSpeedPosition >= 0 &&
              kDefaultEthernetSpeedPosition < static_cast<int>(kEthernetSpeeds.size()));
static_assert(kDefaultSerialProfilePosition >= 0 &&
              kDefaultSerialProfilePosition < static_cast<int>(kSerialProfiles.size()));

}  // namespace settings
