// The hint command and the 600 ms pause. Not built yet.
#include "card_table/form1.h"

namespace tarnvole {

void Form1::RunHintCommand() {}
void Form1::Pause(float) {}

}  // namespace tarnvole
