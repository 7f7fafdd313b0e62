// The parts of the platform layer that need nothing of either system.
#include "ios/Platform.h"

#include <filesystem>
#include <system_error>

namespace platform {

namespace {

bool holdsResources(const std::string& folder) {
  std::error_code error;
  return std::filesystem::is_directory(folder + "/PNG", error);
}

}  // namespace

std::string resourceDirectory(const std::string& executableFolder) {
  if (holdsResources(executableFolder)) return executableFolder;
  const std::string installed = executableFolder + "/../share/vantor";
  return holdsResources(installed) ? installed : executableFolder;
}

}  // namespace platform
