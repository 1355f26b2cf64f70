// Start-up and shutdown of the card table, and the controls of the window.
#include <QCloseEvent>

#include "assets/pictures.h"
#include "card_table/form1.h"
#include "platform/forms.h"
#include "platform/vb.h"
#include "settings_records/form2.h"

namespace tarnvole {

namespace {
Form1* theForm1 = nullptr;

// How many times the start-up load runs before it stops trusting the file.
constexpr int LoadRunsBeforeReset = 3;
constexpr int MaxLoadRuns = 6;

const QColor BoardColor(255, 255, 192);

// The window as placed shows the whole client area: the toolbar, the cells,
// the columns and the status bar.
bool ShowsTheWholeBoard(const platform::MainSurface& window) {
  return window.width() >= platform::Px(ClientWidth) &&
         window.height() >= platform::Px(ClientHeight);
}

}  // namespace

Form1* TheForm1() { return theForm1; }
void SetTheForm1(Form1* form) { theForm1 = form; }

Form1::Form1()
    : ImageList1(assets::ToolbarPictureCount, assets::ToolbarPicture),
      ImageList2(assets::CardPictureCount, assets::CardPicture),
      ImageList3(assets::EyePictureCount, assets::EyePicture),
      Image1(this),
      Image2(this),
      Image3(this),
      Image4Array(this),
      Image4(Image4Array.Load(0)),
      Label1Array(this),
      Label1(Label1Array.Load(0)) {
  SetTheForm1(this);
  platform::SetMainWindow(this);
  CreateControls();
}

Form1::~Form1() {
  if (theForm1 == this) theForm1 = nullptr;
}

// The controls as the window defines them; the further slots and markers are
// created by Form_Load.
void Form1::CreateControls() {
  setWindowTitle(QStringLiteral("TarnVole v1.1.4"));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setWindowIcon(QIcon(QPixmap::fromImage(assets::WindowIcon())));
  QPalette pal = palette();
  pal.setColor(QPalette::Window, BoardColor);
  setPalette(pal);
  setMouseIcon(assets::InvisiblePointer());
  setFixedSize(platform::Px(ClientWidth), platform::Px(ClientHeight));

  const platform::Picture mark = ImageList2.ListImages(EmptySlotMark).Picture();

  platform::Image& slot0 = Image1.Load(0);
  slot0.Move(BoardLeft, RowZeroTop, SlotWidth, SlotHeight);
  slot0.setPicture(mark);
  slot0.MouseDown = [this](int i, int b, int s, float x, float y) { Image1_MouseDown(i, b, s, x, y); };
  slot0.MouseUp = [this](int i, int b, int s, float x, float y) { Image1_MouseUp(i, b, s, x, y); };
  slot0.DragDrop = [this](int i) { Image1_DragDrop(i); };
  slot0.DblClick = [this](int i) { Image1_DblClick(i); };
  slot0.MouseMove = [this](int i, int b, int s, float x, float y) { Image1_MouseMove(i, b, s, x, y); };

  for (int k = 0; k < 8; ++k) {
    platform::Image& cell = Image2.Load(k);
    cell.Move(CellLeft[k], CellTop, SlotWidth, SlotHeight);
    cell.setPicture(mark);
    cell.MouseDown = [this](int i, int b, int s, float x, float y) { Image2_MouseDown(i, b, s, x, y); };
    cell.DragDrop = [this](int i) { Image2_DragDrop(i); };
    cell.DblClick = [this](int i) { Image2_DblClick(i); };
    cell.MouseMove = [this](int i, int b, int s, float x, float y) { Image2_MouseMove(i, b, s, x, y); };
  }

  platform::Image& marker0 = Image3.Load(0);
  marker0.Move(BoardLeft, RowZeroTop, SlotWidth, SlotHeight);
  marker0.setPicture(mark);
  marker0.setVisible(false);
  marker0.DragDrop = [this](int i) { Image3_DragDrop(i); };

  Image4.Move(4515, 1050, 540, 405);

  Label1.Move(3465, 6930, 855, 330);
  Label1.setBorder(true);
  Label1.setCentered(true);
  Label1.setFont(platform::VbFont(QStringLiteral("ＭＳ ゴシック"), 12, true));
  Label1.setForeColor(QColor(0, 0, 255));
  Label1.setBackColor(BoardColor);
  Label1.setStayOnTop(true);

  Toolbar1 = new platform::Toolbar(this);
  const QString tips[] = {QStringLiteral("開始"), QStringLiteral("終了"), QStringLiteral("オプション"),
                          QStringLiteral("一手戻す"), QStringLiteral("ヒント"), QStringLiteral("成績結果")};
  Toolbar1->AddButton(ImageList1.ListImages(1).Picture(), tips[0]);  // 1 new game
  Toolbar1->AddButton(ImageList1.ListImages(2).Picture(), tips[1]);  // 2 quit
  Toolbar1->AddSeparator();                                          // 3
  Toolbar1->AddButton(ImageList1.ListImages(3).Picture(), tips[2]);  // 4 options
  Toolbar1->AddSeparator();                                          // 5
  Toolbar1->AddButton(ImageList1.ListImages(4).Picture(), tips[3]);  // 6 take back
  Toolbar1->AddSeparator();                                          // 7
  Toolbar1->AddButton(ImageList1.ListImages(6).Picture(), tips[4]);  // 8 hint
  for (int i = 9; i <= 12; ++i) Toolbar1->AddSeparator();
  Toolbar1->AddButton(ImageList1.ListImages(5).Picture(), tips[5]);  // 13 records
  Toolbar1->ButtonClick = [this](int index) { Toolbar1_ButtonClick(index); };
  Toolbar1->MouseMove = [this](int, int b, int s, float x, float y) { toolbar1_MouseMove(b, s, x, y); };

  FormMouseDown = [this](int, int b, int s, float x, float y) { Form_MouseDown(b, s, x, y); };
  FormMouseUp = [this](int, int b, int s, float x, float y) { Form_MouseUp(b, s, x, y); };
  FormMouseMove = [this](int, int b, int s, float x, float y) { Form_MouseMove(b, s, x, y); };

  StatusBar1 = new platform::StatusBar(this, {6390, 1440, 1440});
  connect(this, &platform::MainSurface::ClientResized, this, [this] { PlaceBars(); });
  PlaceBars();
}

// The toolbar keeps to the top edge and the status bar to the bottom edge,
// each across the whole client width.
void Form1::PlaceBars() {
  Toolbar1->setGeometry(0, 0, width(), platform::Px(ToolbarHeight));
  StatusBar1->setGeometry(0, height() - platform::Px(StatusBarHeight), width(),
                          platform::Px(StatusBarHeight));
}

void Form1::Form_Load() {
  bool readable = true;
  for (int run = 1;; ++run) {
    try {
      if (!readable || run > MaxLoadRuns) {
        // The file cannot be read: play with the defaults, touching nothing on disk.
        SetDefaultValues();
        readable = false;
      }
      CfgFileName = QStringLiteral("tarnvole.cfg");
      MaxPos = 151;
      LoopCount = 0;
      WorkA = BoardLeft;
      WorkB = RowZeroTop;
      StuckShown = 0;
      WinStreak = 0;
      LossStreak = 0;
      Label1.setVisible(false);
      if (readable) ReadAllRecords();
      RunLoadSteps();
      return;
    } catch (const platform::VbError& e) {
      if (e.Number() == platform::ErrFileAccess) {
        platform::MsgBox(FileProblemMessage(false), platform::vbOKOnly);
        readable = false;
      } else if (e.Number() == platform::ErrTypeMismatch ||
                 (e.Number() == platform::ErrOverflow && run >= LoadRunsBeforeReset)) {
        // A damaged file (a date that does not convert, or a number that
        // keeps overflowing): tell the player and write the defaults.
        if (!GuardFileAccess(WriteDefaultRecords, true)) readable = false;
      }
    }
  }
}

// Steps 6 to 13 of the start-up, after the full read.
void Form1::RunLoadSteps() {
  setTop(WindowTop);
  setLeft(WindowLeft);
  setHeight(WindowHeight);
  setWidth(WindowWidth);
  // A damaged file, or one from a larger screen, must not give a window too
  // small for the board, too large for the screen or one whose caption the
  // mouse cannot take hold of: quitting would store it again, and every later
  // start would be as unusable. A window the player can still drag keeps its
  // place, however much of it lies off the screen. The variables keep what
  // the file said.
  const bool damaged = !ShowsTheWholeBoard(*this);
  if (damaged || !FitsOnAScreen()) {
    setHeight(CfgDefaultValue[25]);
    setWidth(CfgDefaultValue[26]);
  }
  if (damaged || !CaptionWithinReach()) {
    setTop(CfgDefaultValue[23]);
    setLeft(CfgDefaultValue[24]);
  }

  if (LastGameWon == 1) WinStreak = BestWinStreak;
  if (LastGameLost == 1) LossStreak = BestLossStreak;

  const Long bound = MaxPos;
  for (LoopIndex = 0; LoopIndex <= bound; ++LoopIndex) {
    if (LoopCount > 7) {
      WorkB = WorkB + RowStep;
      LoopCount = 0;
    }
    // A repeated load finds the slots and markers already there.
    if (LoopIndex >= 1 && LoopIndex <= 7 && !Image3.Exists(LoopIndex)) {
      platform::Image& marker = Image3.Load(LoopIndex);
      const float left = static_cast<float>(static_cast<double>(Image3(0).Width()) * LoopCount +
                                            WorkA + ColumnGap * LoopCount);
      marker.setLeft(static_cast<int>(left));
      marker.setTop(WorkB);
      marker.setVisible(false);
    }
    if (LoopIndex != 0 && !Image1.Exists(LoopIndex)) Image1.Load(LoopIndex);
    const float left = static_cast<float>(static_cast<double>(Image1(0).Width()) * LoopCount +
                                          WorkA + ColumnGap * LoopCount);
    Image1(LoopIndex).setLeft(static_cast<int>(left));
    Image1(LoopIndex).setTop(WorkB);
    Image1(LoopIndex).setVisible(false);
    LoopCount = LoopCount + 1;
  }

  UndoLevel = -1;
  Toolbar1->Buttons(6).setEnabled(false);
  Toolbar1->Buttons(8).setEnabled(false);

  Form2& options = platform::Load<Form2>();
  if (FullAuto == 0) {
    options.Option1(0).setValue(true);
    options.Option1(1).setValue(false);
  } else if (FullAuto == 1) {
    options.Option1(0).setValue(false);
    options.Option1(1).setValue(true);
  }
  if (SkipCountChoice == 1) {
    options.Option2(0).setValue(true);
    options.Option2(1).setValue(false);
  } else if (SkipCountChoice == 0) {
    options.Option2(0).setValue(false);
    options.Option2(1).setValue(true);
  }
  options.Combo1->setText(platform::PlainText(static_cast<std::int64_t>(MaxUndoLevel) + 1));
  options.Slider1->setValue(DealStrength);
  if (SecretaryOn == 1) {
    options.Option3(0).setValue(false);
    options.Option3(1).setValue(true);
  } else if (SecretaryOn == 0) {
    options.Option3(0).setValue(true);
    options.Option3(1).setValue(false);
  }

  EyePicture = 2;
  Image4.setPicture(ImageList3.ListImages(2).Picture());
  if (EyesOn == 1) {
    options.Option4(0).setValue(false);
    options.Option4(1).setValue(true);
    Image4.setVisible(true);
  } else if (EyesOn == 0) {
    options.Option4(0).setValue(true);
    options.Option4(1).setValue(false);
    Image4.setVisible(false);
  }

  StartupTime = platform::Now();
}

void Form1::SaveWindowAndQuit() {
  // Game ends whose write failed are written now, or are lost with a message.
  WritePendingBookings();
  CfgText[23] = NumberText(Top());
  CfgText[24] = NumberText(Left());
  CfgText[25] = NumberText(Height());
  CfgText[26] = NumberText(Width());
  GuardFileAccess(
      [this] {
        RecordTexts texts;
        for (LoopIndex = 23; LoopIndex <= 26; ++LoopIndex) texts[LoopIndex] = CfgText[LoopIndex];
        WriteRecords(texts, QuitLockWaitMs);
      },
      true,
      WriteProblemMessage(QStringLiteral("ウィンドウの位置と大きさは保存されません。")));
  platform::EndProgram();
}

void Form1::Form_Unload(int& Cancel) {
  Cancel = 1;
  SaveWindowAndQuit();
}

void Form1::closeEvent(QCloseEvent* event) {
  int Cancel = 0;
  Form_Unload(Cancel);
  if (Cancel)
    event->ignore();
  else
    event->accept();
}


}  // namespace tarnvole
