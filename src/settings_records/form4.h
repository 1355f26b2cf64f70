// Form4: the win dialog "やったぁ～！！". Loading it measures the game just
// won (time and moves), shows both, replaces the records the game beats,
// books the win and writes records 7 to 22; its button only closes it.
#pragma once

#include <cstdint>

#include "platform/dialog_controls.h"
#include "platform/forms.h"
#include "settings_records/module1.h"

namespace tarnvole {

class Form4 : public platform::Form {
  Q_OBJECT
 public:
  Form4();

  void Form_Load() override;
  void Command1_Click();

  platform::DialogLabel* Label2 = nullptr;
  platform::DialogLabel* Label1 = nullptr;
  platform::DialogLabel* Label3 = nullptr;
  platform::DialogLabel* Label4 = nullptr;
  platform::DialogLabel* Label5 = nullptr;
  platform::CommandButton* Command1 = nullptr;

  // The win of the given day on the record variables. Static: a win that
  // could not be written is booked again after the dialog is gone.
  static void KeepTimeRecords(std::int64_t seconds, const VbDate& day);
  static void KeepMoveRecords(Long moves, const VbDate& day);
  static void BookWin(const VbDate& day);

 private:
  void ShowTimeAndMoves(std::int64_t seconds);
};

}  // namespace tarnvole
