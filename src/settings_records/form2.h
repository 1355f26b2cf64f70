// Form2: the options dialog. Shows and changes the six settings; every change
// takes effect at once in Module1, and only "これでいい！" writes records 1 to 6.
#pragma once

#include <array>

#include "platform/dialog_controls.h"
#include "platform/forms.h"

namespace tarnvole {

class Form2 : public platform::Form {
  Q_OBJECT
 public:
  Form2();

  void Form_Load() override;
  void Option1_Click(int Index);
  void Option2_Click(int Index);
  void Option3_Click(int Index);
  void Option4_Click(int Index);
  void Combo1_Click();
  void Combo1_Change();
  void Slider1_Change();
  void Command1_Click();

  platform::OptionButton& Option1(int i) const { return *option1_.at(static_cast<size_t>(i)); }
  platform::OptionButton& Option2(int i) const { return *option2_.at(static_cast<size_t>(i)); }
  platform::OptionButton& Option3(int i) const { return *option3_.at(static_cast<size_t>(i)); }
  platform::OptionButton& Option4(int i) const { return *option4_.at(static_cast<size_t>(i)); }

  platform::Frame* Frame1 = nullptr;
  platform::Frame* Frame2 = nullptr;
  platform::Frame* Frame3 = nullptr;
  platform::Frame* Frame4 = nullptr;
  platform::Frame* Frame5 = nullptr;
  platform::Frame* Frame6 = nullptr;
  platform::Frame* Frame7 = nullptr;
  platform::Frame* Frame8 = nullptr;
  platform::Frame* Frame9 = nullptr;
  platform::Frame* Frame10 = nullptr;
  platform::Frame* Frame11 = nullptr;
  platform::Frame* Frame12 = nullptr;
  platform::DialogLabel* Label1 = nullptr;
  platform::DialogLabel* Label2 = nullptr;
  platform::DialogLabel* Label3 = nullptr;
  platform::DialogLabel* Label4 = nullptr;
  platform::DialogLabel* Label5 = nullptr;
  platform::DialogLabel* Label6 = nullptr;
  platform::DialogLabel* Label7 = nullptr;
  platform::DialogLabel* Label8 = nullptr;
  platform::ComboBox* Combo1 = nullptr;
  platform::Slider* Slider1 = nullptr;
  platform::CommandButton* Command1 = nullptr;

 private:
  std::array<platform::OptionButton*, 2> option1_{};
  std::array<platform::OptionButton*, 2> option2_{};
  std::array<platform::OptionButton*, 2> option3_{};
  std::array<platform::OptionButton*, 2> option4_{};
};

}  // namespace tarnvole
