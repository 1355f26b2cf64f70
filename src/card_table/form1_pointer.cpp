// Pointer feedback: the clock that a press of a non-left button on the bare
// board calls up, and the eyes that look toward what lies under the pointer.
#include <cmath>

#include "card_table/form1.h"
#include "platform/clock.h"

namespace tarnvole {

namespace {

constexpr int DefaultPointer = 0;
constexpr int InvisiblePointer = 99;  // the window's own pointer, every pixel transparent
constexpr int ClockTextLength = 5;    // "hh:mm" of the time text "hh:mm:ss"

// ImageList3 pictures: where the eyes look.
constexpr Long LookLeft = 1;   // the free cells
constexpr Long LookAhead = 2;  // the bare board
constexpr Long LookRight = 3;  // the home cells
constexpr Long LookUp = 4;     // the toolbar
constexpr Long LookDown = 5;   // the tableau's cards

constexpr int LastFreeCell = 3;

int Twips(float position) { return static_cast<int>(std::lround(position)); }

// Move events come many times a second: the picture is replaced, and so
// drawn, only when the place asks for another one.
void TurnEyes(Form1& form, Long picture) {
  if (EyesOn == 0) return;
  if (form.EyePicture == picture) return;
  form.EyePicture = picture;
  form.Image4.setPicture(form.ImageList3.ListImages(picture).Picture());
}

}  // namespace

void Form1::Form_MouseDown(int Button, int, float X, float Y) {
  if (Button == platform::LeftButton) return;
  Label1.setCaption(platform::TimeText().left(ClockTextLength));
  setMousePointer(InvisiblePointer);
  Label1.setLeft(Twips(X));
  Label1.setTop(Twips(Y));
  Label1.setVisible(true);
}

void Form1::Form_MouseUp(int Button, int, float, float) {
  if (Button == platform::LeftButton) return;
  Label1.setVisible(false);
  setMousePointer(DefaultPointer);
}

void Form1::Form_MouseMove(int, int, float, float) { TurnEyes(*this, LookAhead); }

void Form1::Image1_MouseMove(int, int, int, float, float) { TurnEyes(*this, LookDown); }

void Form1::Image2_MouseMove(int Index, int, int, float, float) {
  TurnEyes(*this, Index <= LastFreeCell ? LookLeft : LookRight);
}

void Form1::toolbar1_MouseMove(int, int, float, float) { TurnEyes(*this, LookUp); }

}  // namespace tarnvole
