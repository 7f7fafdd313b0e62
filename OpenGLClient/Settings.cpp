#include "OpenGLClient/Settings.h"

#include <filesystem>
#include <fstream>
#include <utility>

#include "ios/Platform.h"

namespace vgl {

std::string Settings::defaultPath() {
  const std::string folder = platform::userConfigurationFolder();
  if (folder.empty()) return std::string();
  return (std::filesystem::path(folder) / "vantor" / "settings").string();
}

void Settings::load(std::ostream& errors) {
  hints_ = true;
  if (path_.empty()) return;
  std::error_code ignored;
  if (!std::filesystem::exists(path_, ignored)) return;
  std::ifstream in(path_);
  if (!in || std::filesystem::is_directory(path_, ignored)) {
    errors << "vantor: cannot read " << path_ << ", using the default settings\n";
    return;
  }
  bool hints = true;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    const size_t equals = line.find('=');
    if (equals == std::string::npos) {
      errors << "vantor: " << path_ << " is corrupt, using the default settings\n";
      return;
    }
    const std::string key = line.substr(0, equals);
    const std::string value = line.substr(equals + 1);
    // Keys a later version may add are skipped, so its file still loads.
    if (key != "hints") continue;
    if (value != "0" && value != "1") {
      errors << "vantor: " << path_ << " is corrupt, using the default settings\n";
      return;
    }
    hints = value == "1";
  }
  hints_ = hints;
}

bool Settings::save(std::ostream& errors) const {
  if (path_.empty()) {
    errors << "vantor: no HOME nor XDG_CONFIG_HOME, the settings are not kept\n";
    return false;
  }
  const std::filesystem::path path(path_);
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  const std::string reason =
      platform::replaceFile(path_, std::string("hints=") + (hints_ ? "1" : "0") + "\n");
  if (!reason.empty()) {
    errors << "vantor: cannot write " << path_ << ": " << reason << "\n";
    return false;
  }
  return true;
}

}  // namespace vgl
