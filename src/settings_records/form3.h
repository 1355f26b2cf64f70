// Form3: the stalemate dialog "や～い！". Loading it books one lost game and
// writes records 8 to 14; its buttons only close it, the lower one asking the
// move search to leave the lost board on the table.
#pragma once

#include "platform/dialog_controls.h"
#include "platform/forms.h"
#include "settings_records/module1.h"

namespace tarnvole {

class Form3 : public platform::Form {
  Q_OBJECT
 public:
  Form3();

  void Form_Load() override;
  void Command1_Click();
  void Command2_Click();

  platform::CommandButton* Command1 = nullptr;
  platform::CommandButton* Command2 = nullptr;
  platform::DialogLabel* Label1 = nullptr;

  // The loss of the given day on the record variables. Static: a loss that
  // could not be written is booked again after the dialog is gone.
  static void BookLoss(const VbDate& day);
};

}  // namespace tarnvole
