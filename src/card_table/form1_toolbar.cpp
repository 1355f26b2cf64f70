// The toolbar's commands. The enabled state of buttons 6 and 8 is the only
// guard: a disabled button raises no click.
#include "card_table/form1.h"
#include "platform/forms.h"
#include "settings_records/form2.h"
#include "settings_records/form6.h"

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
    case 6:
      TakeBackMove();
      break;
    case 8:
      RunHintCommand();
      break;
    case 13:
      platform::Show<Form6>(platform::Modal);
      break;
    default:
      break;
  }
}

}  // namespace tarnvole
