#include "bots/VantorGrayThough.h"

#include "bots/VantorEvaluation.h"

namespace {

const char* const kNames[] = {nullptr, "Britney[Bot]", nullptr, "Desdemonia[Bot]",
                              nullptr, "Cassio[Bot]",  nullptr, "William[Bot]"};

}  // namespace

VantorGrayThough::VantorGrayThough(VantorLobby* server, int level)
    : VantorMinMaxBot(server, nameForLevel(level), level, VantorEvaluationKind::GrayThough) {}

VantorGrayThough::~VantorGrayThough() {
  retire();
}

std::string VantorGrayThough::nameForLevel(int level) {
  const int count = static_cast<int>(sizeof(kNames) / sizeof(kNames[0]));
  if (level < 0 || level >= count || kNames[level] == nullptr) return std::string();
  return kNames[level];
}

std::string VantorGrayThough::getDescription() {
  return "Gray Though is Deep Blue's evil face. It appeared suddently from a computer bug, during "
         "a dark, stormy night. No one knows what is inside this AI, but it plays damn good!";
}
