// The toolbar's commands.
#include "card_table/form1.h"
#include "platform/forms.h"
#include "settings_records/form2.h"

namespace tarnvole {

void Form1::Toolbar1_ButtonClick(int Index) {
  switch (Index) {
    case 1:
      NewGame();
      break;
    case 2:
      SaveWindowAndQuit();
      break;
    case 4:
      platform::Show<Form2>(platform::Modal);
      break;
    default:
      break;
  }
}

}  // namespace tarnvole
