#pragma once

#include "platform/platform.h"

#include <string>

namespace tellavin {

// A registry value read through the platform, or the default (empty when
// none is given) when the key or value is missing, has a type the program
// does not read, or the system has no registry. Never fails.
RegistryValue GetRegistryValue(const Platform& platform, RegistryRoot root,
                               const std::string& keyPath, const std::string& valueName,
                               RegistryValue defaultValue = {});

} // namespace tellavin
