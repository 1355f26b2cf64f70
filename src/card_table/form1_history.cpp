// The move history: the ten newest moves, entered before each is carried out.
#include "card_table/board.h"
#include "card_table/form1.h"
#include "platform/vb.h"

namespace tarnvole {

void Form1::RecordMove(Long Kind) {
  MoveCount = MoveCount + 1;
  UndoLevel = UndoLevel + 1;
  if (UndoLevel > MaxUndoLevel) UndoLevel = MaxUndoLevel;
  Toolbar1->Buttons(6).setEnabled(true);
  Toolbar1->Buttons(8).setEnabled(true);

  int slot = 0;
  while (slot < HistorySlots - 1 && UndoKind[slot] != -1) ++slot;
  if (UndoKind[slot] != -1) {
    ShiftUndoHistory();
    slot = HistorySlots - 1;
  }
  QString text = platform::Str(FirstIndex) + u'/' + platform::Str(SecondIndex);
  if (Kind == DragRunToTableau) text += u'/' + platform::Str(CardsAbove);
  if (Kind == DragRunToEmptyColumn) text += u'/' + platform::Str(CardsToMove);
  UndoKind[slot] = Kind;
  UndoData[slot] = text;

  // A depth from an edited file may lie outside 0 to 9: the take-backs
  // allowed are never more than the entries there, and a depth below one
  // allows none.
  int used = 0;
  while (used < HistorySlots && UndoKind[used] != -1) ++used;
  if (UndoLevel > used - 1) UndoLevel = used - 1;
  if (UndoLevel < 0) {
    UndoLevel = -1;
    Toolbar1->Buttons(6).setEnabled(false);
  }
}

void Form1::ClearUndoHistory() {
  UndoLevel = -1;
  Toolbar1->Buttons(6).setEnabled(false);
  for (int i = 0; i < HistorySlots; ++i) {
    UndoKind[i] = -1;
    UndoData[i] = QString();
  }
}

void Form1::ShiftUndoHistory() {
  for (int i = 0; i <= HistorySlots - 2; ++i) {
    UndoKind[i] = UndoKind[i + 1];
    UndoData[i] = UndoData[i + 1];
  }
  UndoKind[HistorySlots - 1] = -1;
  UndoData[HistorySlots - 1] = QString();
}

}  // namespace tarnvole
