// The hint command. Not built yet.
#include "card_table/form1.h"

namespace tarnvole {

void Form1::RunHintCommand() {}

}  // namespace tarnvole
