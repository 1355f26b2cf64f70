// Form5: the move-count chooser "何枚移動する？". Shown while a run goes into
// an empty column, it offers every number of cards from CardsToMove down to 1
// and a cancel button, and hands the choice back in CardsToMove (and
// MoveCancelled after the cancel button).
//
//   Label1      "N枚移動出来ます・・がっ！"          Top 210
//   Command1(0) "全　部　移　動　す　る"             Top 1000
//   Command1(i) "N-i 枚 移 動 す る", i = 1..N-1     Top 500 * i + 1300
//   Command1(N) "キ　ャ　ン　セ　ル"
#pragma once

#include <QRect>
#include <vector>

#include "platform/dialog_controls.h"
#include "platform/forms.h"

namespace tarnvole {

class Form5 : public platform::Form {
  Q_OBJECT
 public:
  Form5();

  void Form_Load() override;
  void Command1_Click(int Index);

  platform::DialogLabel* Label1 = nullptr;
  // The buttons by their number k: k cards fewer than all.
  platform::CommandButton& Command1(int i) const { return *command1_.at(static_cast<size_t>(i)); }
  int Command1Count() const { return static_cast<int>(command1_.size()); }
  // Where button i stands, in twips (the widget itself is placed in pixels).
  QRect Command1Twips(int i) const { return command1Twips_.at(static_cast<size_t>(i)); }
  // The window's outer height in twips, title bar and borders included.
  int Height() const { return height_; }

 private:
  platform::CommandButton& AddCommand1(const QString& caption, const QRect& twips);
  // Load Command1(next index).
  void LoadCommand1();
  void setCommand1Top(int i, int top);
  void setHeight(int twips);
  std::vector<platform::CommandButton*> command1_;
  std::vector<QRect> command1Twips_;
  int height_ = 0;
};

}  // namespace tarnvole
