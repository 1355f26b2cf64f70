// Form6: the records dialog "成績表". Loading it reads records 7 to 22 again
// and shows them; each "ｸﾘｱ" button resets one row in the file at once and
// shows everything again; "Ｏ　　　Ｋ" closes it.
//
//   row            title                    value            reset     records
//   games          Label1                   Label6, Label7   Command1  7, 8
//   win streak     Label4(0) Label14(0)     Label8           Command2  9 to 11
//   loss streak    Label4(1) Label14(1)     Label9           Command3  12 to 14
//   shortest time  Label2(1)                Label10          Command4  15, 16
//   longest time   Label2(0)                Label5           Command5  17, 18
//   fewest moves   Label3(1)                Label11          Command7  19, 20
//   most moves     Label3(0)                Label12          Command8  21, 22
// A magenta streak title marks the streak the last finished game continued.
// The current streaks WinStreak and LossStreak are never touched here.
#pragma once

#include <array>

#include "platform/dialog_controls.h"
#include "platform/forms.h"
#include "settings_records/module1.h"

namespace tarnvole {

class Form6 : public platform::Form {
  Q_OBJECT
 public:
  Form6();

  void Form_Load() override;
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Command5_Click();
  void Command6_Click();
  void Command7_Click();
  void Command8_Click();

  // What a reset button puts back in record n.
  static Long ResetValue(int record);

  platform::DialogLabel& Label2(int i) const { return *label2_.at(static_cast<size_t>(i)); }
  platform::DialogLabel& Label3(int i) const { return *label3_.at(static_cast<size_t>(i)); }
  platform::DialogLabel& Label4(int i) const { return *label4_.at(static_cast<size_t>(i)); }
  platform::DialogLabel& Label14(int i) const { return *label14_.at(static_cast<size_t>(i)); }

  platform::DialogLabel* Label1 = nullptr;
  platform::DialogLabel* Label5 = nullptr;
  platform::DialogLabel* Label6 = nullptr;
  platform::DialogLabel* Label7 = nullptr;
  platform::DialogLabel* Label8 = nullptr;
  platform::DialogLabel* Label9 = nullptr;
  platform::DialogLabel* Label10 = nullptr;
  platform::DialogLabel* Label11 = nullptr;
  platform::DialogLabel* Label12 = nullptr;
  platform::DialogLabel* Label13 = nullptr;
  platform::CommandButton* Command1 = nullptr;
  platform::CommandButton* Command2 = nullptr;
  platform::CommandButton* Command3 = nullptr;
  platform::CommandButton* Command4 = nullptr;
  platform::CommandButton* Command5 = nullptr;
  platform::CommandButton* Command6 = nullptr;
  platform::CommandButton* Command7 = nullptr;
  platform::CommandButton* Command8 = nullptr;

 private:
  using LabelPair = std::array<platform::DialogLabel*, 2>;

  void CreateTitles();
  void CreateValues();
  void CreateButtons();
  platform::DialogLabel* NewTitle(const QString& caption, int left, int top, int width);
  platform::DialogLabel* NewValue(unsigned foreColor, int left, int top, int width);
  platform::CommandButton* NewResetButton(int top, void (Form6::*handler)());

  void LoadAndShowRecords();
  void ReadRecordsAgain();
  void ShowRecords();
  void ShowValue(platform::DialogLabel* label, const QString& caption);
  void ResetRecords(int firstRecord, int lastRecord);

  LabelPair label2_{};
  LabelPair label3_{};
  LabelPair label4_{};
  LabelPair label14_{};
};

}  // namespace tarnvole
