// Form2: the options dialog. Shows and changes the six settings; every change
// takes effect at once in Module1, and only "これでいい！" writes records 1 to 6.
//
// Six rows, each a choice frame with an explanation frame to its right:
//   Frame1  FullAuto        Option1  "しない" 0, "する" 1       Frame2  Label1
//   Frame4  SkipCountChoice Option2  "しない" 1, "する" 0       Frame5  Label3
//   Frame3  DealStrength    Slider1 (1 easy, 2 normal), Label2  Frame6  Label4
//   Frame7  MaxUndoLevel    Combo1 (depth = level + 1), Label5  Frame8  Label6
//   Frame9  SecretaryOn     Option3  "いらねぇ！" 0, "いてっ！" 1 Frame10 Label7
//   Frame11 EyesOn          Option4  "いらねぇ！" 0, "いてっ！" 1 Frame12 Label8
// The second row is inverted against its wording: "する" (do choose the
// number of cards) stores 0, which is what the run moves ask about.
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
  using OptionPair = std::array<platform::OptionButton*, 2>;

  void CreateControls();
  void CreateChoiceRows();
  void CreateExplanations();
  platform::Frame* NewFrame(const QString& caption, int left, int top, int width, int height);
  platform::Frame* NewExplanationFrame(const QString& caption, int left, int top, int width,
                                       int height);
  platform::DialogLabel* NewExplanation(platform::Frame* frame, const QString& caption, int left,
                                        int top, int width, int height);
  void NewOptionPair(OptionPair& pair, platform::Frame* frame, const QString& caption0,
                     const QString& caption1, void (Form2::*handler)(int));
  // Switches the row's buttons to the chosen one; false for an index that
  // names no button of the row.
  static bool SwitchRow(const OptionPair& pair, int Index);

  OptionPair option1_{};
  OptionPair option2_{};
  OptionPair option3_{};
  OptionPair option4_{};
};

}  // namespace tarnvole
