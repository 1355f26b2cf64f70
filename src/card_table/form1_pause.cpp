// The 600 ms pause between steps the player is to see one after the other.
#include "card_table/form1.h"
#include "card_table/form7.h"
#include "platform/forms.h"

namespace tarnvole {

// The argument is not read: every pause lasts one tick of Form7's timer.
void Form1::Pause(float) { platform::Show<Form7>(platform::Modal); }

}  // namespace tarnvole
