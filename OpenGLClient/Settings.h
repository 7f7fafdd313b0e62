// The player's choices kept between runs, in a small text file of
// "key=value" lines: for now only whether the legal-move markers show
// ("hints=1" or "hints=0"). The file lives in
// $XDG_CONFIG_HOME/vantor/settings, ~/.config/vantor/settings without it, or
// on Windows in %APPDATA%\vantor\settings.
//
// A missing file gives the defaults quietly; an unreadable or corrupt one
// gives the defaults and one line on the error stream, so a bad file never
// stops the game from starting. Saving writes a temporary file in the same
// directory, flushes it to disk and renames it over the old one, so a crash
// leaves either the old file or the new one, never half of one.
//
// Thread safety: none; the client reads and writes it on the GLUT thread.
#ifndef VANTOR_OPENGLCLIENT_SETTINGS_H_
#define VANTOR_OPENGLCLIENT_SETTINGS_H_

#include <ostream>
#include <string>

namespace vgl {

class Settings {
 public:
  // The file's path from the environment; empty when neither
  // XDG_CONFIG_HOME nor HOME (on Windows, APPDATA) is set.
  static std::string defaultPath();

  explicit Settings(std::string path) : path_(std::move(path)) {}

  void load(std::ostream& errors);
  // False, with one line on errors, when the file could not be written.
  bool save(std::ostream& errors) const;

  bool hints() const { return hints_; }
  void setHints(bool shown) { hints_ = shown; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  bool hints_ = true;
};

}  // namespace vgl

#endif  // VANTOR_OPENGLCLIENT_SETTINGS_H_
