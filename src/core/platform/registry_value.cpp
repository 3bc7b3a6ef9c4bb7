#include "platform/registry_value.h"

namespace tellavin {

RegistryValue GetRegistryValue(const Platform& platform, RegistryRoot root,
                               const std::string& keyPath, const std::string& valueName,
                               RegistryValue defaultValue) {
    return platform.QueryRegistryValue(root, keyPath, valueName).value_or(std::move(defaultValue));
}

} // namespace tellavin
