// The options of an invitation: who moves first (0: the inviting player,
// 1: the invited player) and whether others may watch. Passed by value.
//
// Thread safety: a plain value.
#ifndef VANTOR_CLIENT_VANTORGAMEOPTIONS_H_
#define VANTOR_CLIENT_VANTORGAMEOPTIONS_H_

#include <cstdint>

class VantorGameOptions {
 public:
  int getColourChoice() const { return colourChoice_; }
  void setColourChoice(int colourChoice) { colourChoice_ = colourChoice; }
  bool getSpectatorsAllowed() const { return spectatorsAllowed_; }
  void setSpectatorsAllowed(bool allowed) { spectatorsAllowed_ = allowed; }

 private:
  int32_t colourChoice_ = 0;
  bool spectatorsAllowed_ = true;
};

#endif  // VANTOR_CLIENT_VANTORGAMEOPTIONS_H_
