#include "settings_records/form2.h"

#include "card_table/form1.h"
#include "settings_records/module1.h"

namespace tarnvole {

Form2::Form2() {
  for (int i = 0; i < 2; ++i) {
    option1_[i] = new platform::OptionButton(this, QString(), i);
    option1_[i]->Click = [this](int index) { Option1_Click(index); };
    option2_[i] = new platform::OptionButton(this, QString(), i);
    option2_[i]->Click = [this](int index) { Option2_Click(index); };
    option3_[i] = new platform::OptionButton(this, QString(), i);
    option3_[i]->Click = [this](int index) { Option3_Click(index); };
    option4_[i] = new platform::OptionButton(this, QString(), i);
    option4_[i]->Click = [this](int index) { Option4_Click(index); };
  }
  Combo1 = new platform::ComboBox(this);
  Combo1->Click = [this] { Combo1_Click(); };
  Combo1->Change = [this] { Combo1_Change(); };
  Slider1 = new platform::Slider(this, 1, 2);
  Slider1->Change = [this] { Slider1_Change(); };
  Command1 = new platform::CommandButton(this, QStringLiteral("これでいい！"));
  Command1->Click = [this] { Command1_Click(); };
}

void Form2::Form_Load() {}
void Form2::Option1_Click(int) {}
void Form2::Option2_Click(int) {}
void Form2::Option3_Click(int) {}
void Form2::Option4_Click(int Index) {
  if (TheForm1()) TheForm1()->Image4.setVisible(Index == 1);
}
void Form2::Combo1_Click() {}
void Form2::Combo1_Change() {}
void Form2::Slider1_Change() {}
void Form2::Command1_Click() { platform::Unload<Form2>(); }

}  // namespace tarnvole
