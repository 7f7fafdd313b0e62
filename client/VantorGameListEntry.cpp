#include "client/VantorGameListEntry.h"

#include <cstdlib>

#include "client/VantorText.h"

VantorGameListEntry::VantorGameListEntry(int gameId, const char* firstName, const char* secondName)
    : firstName_(copyToHeap(firstName != nullptr ? firstName : "")),
      secondName_(copyToHeap(secondName != nullptr ? secondName : "")),
      gameId_(gameId) {}

VantorGameListEntry::~VantorGameListEntry() {
  std::free(firstName_);
  std::free(secondName_);
}
