// The hint command: a fresh move search, then each move it suggests is
// announced by a sound and blinked on the board, the card and the place it
// would go to. It moves nothing and records nothing.
#include <cmath>

#include "card_table/board.h"
#include "card_table/form1.h"
#include "platform/sound.h"
#include "platform/vb.h"

namespace tarnvole {

namespace {

constexpr Long FirstHintEntry = 0;
constexpr Long LastHintEntry = 5;
constexpr float BlinkPause = 1;

const QString PlayCommand = QStringLiteral("play ");
const QString NoMoveSound = QStringLiteral("1.wav");
const QString MoveSound = QStringLiteral("2.wav");

// Larger than any index of a control; a reading beyond it names nothing and
// must not reach the rounding, which would overflow.
constexpr double NoIndexAbove = 1e6;

// The whole number of a location's index text, or -1 when it is none.
Long IndexOfText(const QString& text) {
  const double value = platform::Val(text);
  if (!std::isfinite(value) || std::fabs(value) > NoIndexAbove) return -1;
  return platform::CLng(value);
}

// The control a hint location stands for, or nullptr for a text that names
// none: an area digit other than 1 to 3 or an index its area does not have.
platform::Image* ControlOfHintLocation(const Form1& form, const QString& location) {
  const Long area = IndexOfText(platform::Left(location, 1));
  const Long index = IndexOfText(platform::Mid(location, 2));
  const platform::ControlArray<platform::Image>* controls = nullptr;
  switch (area) {
    case AreaTableau:
      controls = &form.Image1;
      break;
    case AreaCell:
      controls = &form.Image2;
      break;
    case AreaEmptyColumn:
      controls = &form.Image3;
      break;
    default:
      return nullptr;
  }
  return controls->Exists(index) ? &(*controls)(index) : nullptr;
}

// The folder of the sound files: the path with the separator after it, not
// doubled when the path already ends in one (the root folder).
QString SoundFolderOf(const QString& path) {
  return path.endsWith(platform::PathSeparator) ? path : path + platform::PathSeparator;
}

}  // namespace

void Form1::RunHintCommand() {
  StuckShownInAction = 0;
  const QString folder = SoundFolderOf(File1.Path());
  for (LoopIndex = FirstHintEntry; LoopIndex <= LastHintEntry; ++LoopIndex) {
    HintFrom[LoopIndex] = QString();
    HintTo[LoopIndex] = QString();
  }
  FindPossibleMoves();
  if (StuckShown == 1) {
    StuckShown = 0;
    return;
  }
  if (HintFrom[FirstHintEntry].isEmpty()) {
    platform::mciExecute(PlayCommand + folder + NoMoveSound);
    return;
  }
  for (LoopIndex = FirstHintEntry; LoopIndex <= LastHintEntry; ++LoopIndex) {
    if (HintFrom[LoopIndex].isEmpty()) return;
    platform::Image* source = ControlOfHintLocation(*this, HintFrom[LoopIndex]);
    platform::Image* target = ControlOfHintLocation(*this, HintTo[LoopIndex]);
    // The search writes no such entry; one that names no control is passed
    // over rather than announced with nothing to show.
    if (!source || !target) continue;
    platform::mciExecute(PlayCommand + folder + MoveSound);
    source->setVisible(false);
    target->setVisible(false);
    Pause(BlinkPause);
    source->setVisible(true);
    target->setVisible(true);
    Pause(BlinkPause);
  }
}

}  // namespace tarnvole
