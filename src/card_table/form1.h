// Form1: the card table, the main window and the game played on it.
//
// Control indices of the board (positions and sizes in twips):
//
//   Toolbar1 (Top 0, height 420)
//   Image2(0) Image2(1) Image2(2) Image2(3)  Image4  Image2(4) Image2(5) Image2(6) Image2(7)
//   \------- free cells, Top 525 -------/  (eyes)   \------- home cells, Top 525 -------/
//
//   col:      0        1        2        3        4        5        6        7
//   row 0:    0        1        2        3        4        5        6        7     Top 2310
//   row 1:    8        9       10       11       12       13       14       15     Top 2580
//   ...                 position p = row * 8 + column, p + 8 lies on p
//   row 18: 144      145      146      147      148      149      150      151     Top 7170
//   Left:   210     1365     2520     3675     4830     5985     7140     8295
//
//   Image1(p): the card slot of tableau position p (0..151), visible while it
//              holds a card. Image3(k): the empty-column marker of column k,
//              on the slot of position k, shown while column k is empty.
//   Cell(0..3) free cells, Cell(4..7) home cells (the top card of the pile).
//   StatusBar1 along the bottom edge (Top 7320).
//
// A card is written as its CardCode: the suit digit (0 hearts, 1 diamonds,
// 2 spades, 3 clubs) followed by the rank (0 ace .. 12 king), "00" .. "312".
//
// Where each procedure lives:
//   form1_startup.cpp  Form_Load, SaveWindowAndQuit, Form_Unload, the controls
//   form1_slots.cpp    the slot operations every move is made of, FreeSpaces,
//                      FitsOnto
//   form1_toolbar.cpp  Toolbar1_ButtonClick
//   form1_history.cpp  RecordMove, ClearUndoHistory, ShiftUndoHistory
//   form1_deal.cpp     NewGame
//   form1_moves.cpp    the press, release, drop and double-click handlers,
//                      CheckCardsOnTop
//   form1_autohome.cpp AutoMoveToHome, CheckForWin
//   form1_runs.cpp     MoveRunOntoCard, Image3_DragDrop
//   form1_search.cpp   FindPossibleMoves
//   form1_takeback.cpp TakeBackMove
//   form1_hint.cpp     the hint command
//   form1_pause.cpp    Pause (the 600 ms pause, Form7)
//   form1_pointer.cpp  the clock label and the eyes
//   board.h            the vocabulary of cards: suit, rank, fits home
//
// Loop counters and scratch values (LoopIndex, LoopCount, WorkA, WorkB,
// MovingCard, TargetCard) are fields shared by all procedures: a callee
// changes them for its caller.
#pragma once

#include <QString>
#include <array>
#include <memory>

#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/picture.h"
#include "platform/sound.h"
#include "platform/widgets.h"
#include "settings_records/module1.h"

namespace tarnvole {

// Board geometry, in twips.
constexpr int BoardLeft = 210;
constexpr int RowZeroTop = 2310;
constexpr int RowStep = 270;
constexpr int ColumnGap = 90;
constexpr int SlotWidth = 1065;
constexpr int SlotHeight = 1440;
constexpr int CellTop = 525;
constexpr std::array<int, 8> CellLeft = {105, 1155, 2205, 3255, 5250, 6300, 7350, 8400};
constexpr int ClientWidth = 9585;
constexpr int ClientHeight = 7575;
constexpr int ToolbarHeight = 420;
constexpr int StatusBarHeight = 255;

constexpr int EmptySlotMark = 53;  // ImageList2 picture of an empty slot

constexpr int HistorySlots = 10;  // the newest moves the history keeps

class Form1 : public platform::MainSurface {
  Q_OBJECT
 public:
  Form1();
  ~Form1() override;

  // ---- Board ------------------------------------------------------------
  std::array<QString, 152> Tableau;
  std::array<QString, 8> Cell;

  // ---- Fields shared by the procedures -----------------------------------
  Long FirstIndex = 0;
  Long SecondIndex = 0;
  Long PressButton = 0;
  Long CardCovered = 0;
  Long DragFrom = 0;
  Long LoopIndex = 0;
  Long LoopCount = 0;
  Long WorkA = 0;
  Long WorkB = 0;
  QString MovingCard;
  QString TargetCard;
  Long MaxPos = 0;
  std::array<Long, 8> ColumnBottom{};
  Long CardsAbove = 0;
  std::array<Long, HistorySlots> UndoKind{};
  std::array<QString, HistorySlots> UndoData;
  Long UndoLevel = 0;
  VbDate StartupTime;
  Long EyePicture = 0;
  std::array<QString, 6> HintFrom;
  std::array<QString, 6> HintTo;
  Long StuckShown = 0;
  // 1 once the stalemate dialog has been shown during the player's current
  // action: a press on a card or cell (with the drop or double-click that
  // follows it and all their automatic moves), or one hint command. A board
  // kept at that dialog is not reported again before the next action.
  Long StuckShownInAction = 0;

  // ---- Controls -----------------------------------------------------------
  platform::ImageList ImageList1;  // toolbar pictures 1..6
  platform::ImageList ImageList2;  // card faces 1..52, EmptySlotMark 53
  platform::ImageList ImageList3;  // eyes 1..5
  platform::ControlArray<platform::Image> Image1;
  platform::ControlArray<platform::Image> Image2;
  platform::ControlArray<platform::Image> Image3;
  platform::ControlArray<platform::Image> Image4Array;
  platform::Image& Image4;
  platform::ControlArray<platform::Label> Label1Array;
  platform::Label& Label1;
  platform::Toolbar* Toolbar1 = nullptr;
  platform::StatusBar* StatusBar1 = nullptr;
  platform::FileList File1;  // the folder of the sound files

  // ---- Start-up and shutdown ----------------------------------------------
  void Form_Load();
  void SaveWindowAndQuit();
  void Form_Unload(int& Cancel);

  // ---- Toolbar --------------------------------------------------------------
  void Toolbar1_ButtonClick(int Index);

  // ---- Deal -----------------------------------------------------------------
  void NewGame();

  // ---- Move history -----------------------------------------------------------
  void RecordMove(Long Kind);
  void ClearUndoHistory();
  void ShiftUndoHistory();

  // ---- Single-card moves --------------------------------------------------------
  void Image1_MouseDown(int Index, int Button, int Shift, float X, float Y);
  void CheckCardsOnTop(Long Pos);
  void Image1_MouseUp(int Index, int Button, int Shift, float X, float Y);
  void ShowEveryCard();
  bool IsOppositeColor(const Long& SuitA, const Long& SuitB) const;
  void Image1_DragDrop(int Index);
  void Image1_DblClick(int Index);
  void Image2_DragDrop(int Index);
  void Image2_DblClick(int Index);
  void Image2_MouseDown(int Index, int Button, int Shift, float X, float Y);

  // ---- Automatic moves and the win check ------------------------------------------
  void AutoMoveToHome();
  void CheckForWin();

  // ---- Run moves ----------------------------------------------------------------
  void Image3_DragDrop(int Index);
  void MoveRunOntoCard();

  // ---- Move search ------------------------------------------------------------------
  void FindPossibleMoves();

  // ---- Take-back ----------------------------------------------------------------------
  void TakeBackMove();

  // ---- Hints and the 600 ms pause -------------------------------------------------------
  void RunHintCommand();
  void Pause(float Seconds);

  // ---- Pointer feedback -------------------------------------------------------------------
  void Form_MouseDown(int Button, int Shift, float X, float Y);
  void Form_MouseUp(int Button, int Shift, float X, float Y);
  void Form_MouseMove(int Button, int Shift, float X, float Y);
  void Image1_MouseMove(int Index, int Button, int Shift, float X, float Y);
  void Image2_MouseMove(int Index, int Button, int Shift, float X, float Y);
  void toolbar1_MouseMove(int Button, int Shift, float X, float Y);

  // The number of empty free cells plus the shown empty-column markers.
  Long FreeSpaces() const;
  // Whether `card` may lie on `onto` in a column: the other colour and one
  // rank lower.
  bool FitsOnto(const QString& card, const QString& onto) const;

  // ---- Slot operations: every move changes the board through these -------
  // A card onto tableau position p, showing the picture of the control it
  // comes from, brought in front of the card it covers; a card arriving in
  // row 0 fills an empty column, whose marker goes.
  void PutOnTableau(Long p, const platform::Image& source, const QString& code);
  // The uncovered card off position p; a row-0 card leaves its column empty.
  void TakeOffTableau(Long p);
  // A card into cell i; on a home cell it becomes the pile's top card.
  void PutInCell(Long i, const platform::Image& source, const QString& code);
  void EmptyCell(Long i);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void PlaceBars();
  void RunLoadSteps();
  bool slotsCreated_ = false;
};

// The one project-wide main window (created by main or by a test).
Form1* TheForm1();
void SetTheForm1(Form1* form);

}  // namespace tarnvole
