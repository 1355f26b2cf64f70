// The move search on a real main window: which moves it suggests and in
// which order, when it judges the game stuck, and what the stalemate does.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "card_table/form1.h"
#include "platform/clock.h"
#include "platform/forms.h"
#include "settings_records/form2.h"
#include "settings_records/form3.h"
#include "settings_records/module1.h"
#include "support/test_support.h"

using namespace tarnvole;
using namespace testing_support;

namespace {

// A card by its name, "7S" the seven of spades, "TH" the ten of hearts,
// turned into the game's code (suit digit, then rank 0 for the ace .. 12).
QString Code(const QString& name) {
  const QString values = QStringLiteral("A23456789TJQK");
  const QString suits = QStringLiteral("HDSC");
  return QString::number(suits.indexOf(name[1])) + QString::number(values.indexOf(name[0]));
}

// Names separated by blanks, "-" for an empty cell.
QStringList Codes(const QString& names) {
  QStringList codes;
  for (const QString& name : names.split(u' ', Qt::SkipEmptyParts))
    codes << (name == QStringLiteral("-") ? QString() : Code(name));
  return codes;
}

using Columns = std::array<QString, 8>;

// Only aces, threes, fives, sevens, nines, jacks and kings: no card is one
// rank above another, so nothing fits anywhere, and with the home cells
// empty nothing goes home.
const Columns DeadColumns = {"KH JS 9H", "KD JC 9D", "9S JH KS", "9C JD KC",
                             "7H 5S 3H", "7D 5C 3D", "7S 5H 3S", "7C 5D 3C"};
const QString FullFreeCells = QStringLiteral("AH AD AS AC - - - -");

// Red cards only on the table and kings in the free cells: nothing fits
// anywhere, so the cards a test puts into columns 4 and 5 are all that
// matter. Column 7 is the one free space; emptying column 6 makes two.
const Columns RedColumns = {"QH 2H 3H", "QD 2D 3D", "AH 4H 5H", "AD 4D 5D", "", "9H 9D", "JH JD", ""};
const QString Kings = QStringLiteral("KH KD KS KC - - - -");

class MoveSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetModule1ForTesting();
    platform::SetClockForTesting([this] { return clock; });
    folder.Write("tarnvole.cfg", DefaultCfgBytes());
    form = std::make_unique<Form1>();
    form->Form_Load();
    DealStrength = 3;  // the ordered deck, so a new deal is known
    SecretaryOn = 0;
    answerer.onOtherWindow = [this](QWidget* window) {
      auto* dialog = qobject_cast<Form3*>(window);
      ASSERT_NE(dialog, nullptr);
      ++stalemates;
      (keepLostBoard ? dialog->Command2 : dialog->Command1)->click();
    };
  }
  void TearDown() override {
    form.reset();
    platform::Unload<Form3>();
    platform::Unload<Form2>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    platform::SetClockForTesting(nullptr);
    ResetModule1ForTesting();
  }

  // Columns from row 0 down; cells 0 to 3 free, 4 to 7 home. Markers are
  // shown exactly on the empty columns; the hint lists start empty.
  void LayOut(const Columns& columns, const QString& cells) {
    for (int p = 0; p <= 151; ++p) {
      form->Tableau[p] = QString();
      form->Image1(p).setVisible(false);
    }
    for (int c = 0; c < 8; ++c) {
      const QStringList cards = Codes(columns[c]);
      for (int row = 0; row < cards.size(); ++row) {
        form->Tableau[row * 8 + c] = cards[row];
        form->Image1(row * 8 + c).setVisible(true);
      }
      form->Image3(c).setVisible(cards.isEmpty());
    }
    const QStringList cellCodes = Codes(cells);
    ASSERT_EQ(cellCodes.size(), 8);
    for (int i = 0; i < 8; ++i) form->Cell[i] = cellCodes[i];
    for (int k = 0; k < 6; ++k) {
      form->HintFrom[k] = QString();
      form->HintTo[k] = QString();
    }
  }

  // The hint entries as "from>to, from>to", up to the last taken one; a
  // free entry between taken ones shows as ">".
  std::string Entries() const {
    QStringList entries;
    for (int k = 0; k < 6; ++k) entries << form->HintFrom[k] + u'>' + form->HintTo[k];
    while (!entries.isEmpty() && entries.last() == QStringLiteral(">")) entries.removeLast();
    return entries.join(QStringLiteral(", ")).toStdString();
  }

  std::array<QString, 152> Tableau() const { return form->Tableau; }

  QDateTime clock{QDate(2026, 12, 7), QTime(9, 0)};
  ScratchFolder folder;
  std::unique_ptr<Form1> form;
  ModalAnswerer answerer;
  int stalemates = 0;
  bool keepLostBoard = true;
};

// ---- The stalemate -----------------------------------------------------------

TEST_F(MoveSearch, AStuckBoardBooksOneLossAndIsDealtAfresh) {
  keepLostBoard = false;
  LayOut(DeadColumns, FullFreeCells);
  Losses = 4;
  StoreChangedRecords(8, 8);

  form->FindPossibleMoves();

  EXPECT_EQ(stalemates, 1);
  EXPECT_EQ(Losses, 5);
  EXPECT_EQ(RecordOf(folder.Read("tarnvole.cfg"), 8).trimmed(), QByteArray("5"));
  EXPECT_EQ(KeepLostBoard, 0);
  // The ordered deck: position p holds suit p / 13, rank p % 13.
  for (int p = 0; p <= 151; ++p) {
    const QString dealt = p < 52 ? QString::number(p / 13) + QString::number(p % 13) : QString();
    EXPECT_EQ(form->Tableau[p], dealt) << "position " << p;
  }
  for (int i = 0; i < 8; ++i) EXPECT_EQ(form->Cell[i], QString()) << "cell " << i;
  EXPECT_EQ(Entries(), "");
  // The deal's own automatic moves search the fresh board and clear the
  // mark again, so the caller sees no stalemate left to report.
  EXPECT_EQ(form->StuckShown, 0);
}

TEST_F(MoveSearch, TheLossStaysBookedWhenThePlayerQuitsAtTheSecretarysQuestion) {
  // The deal after the stalemate asks whether to go on; the answer "No"
  // ends the program inside the deal, after the loss and the stalemate
  // mark were set.
  keepLostBoard = false;
  SecretaryOn = 1;
  clock = clock.addSecs(11 * 60);
  answerer.messageBoxButton = QStringLiteral("いいえ");
  EndRecorder end;
  LayOut(DeadColumns, FullFreeCells);
  const auto before = Tableau();

  form->FindPossibleMoves();

  EXPECT_EQ(stalemates, 1);
  EXPECT_EQ(answerer.prompts.size(), 1);
  EXPECT_EQ(end.ends, 1);
  EXPECT_EQ(form->StuckShown, 1);
  EXPECT_EQ(RecordOf(folder.Read("tarnvole.cfg"), 8).trimmed(), QByteArray("1"));
  EXPECT_EQ(Tableau(), before);
}

TEST_F(MoveSearch, KeepingTheLostBoardLeavesItAndAsksAgainNextTime) {
  // Aces in the free cells with every home cell empty go nowhere.
  Columns columns = DeadColumns;
  columns[7] = QStringLiteral("7C 5D 3C AC");
  LayOut(columns, QStringLiteral("AH AD AS 4H - - - -"));
  const auto before = Tableau();

  form->FindPossibleMoves();

  EXPECT_EQ(stalemates, 1);
  EXPECT_EQ(Losses, 1);
  EXPECT_EQ(KeepLostBoard, 0);
  EXPECT_EQ(form->StuckShown, 1);
  EXPECT_EQ(Tableau(), before);
  EXPECT_EQ(form->Cell[0], Code("AH"));
  EXPECT_EQ(Entries(), "");

  // The player's next action finds it stuck again; the deal's loss is
  // already booked.
  form->StuckShown = 0;
  form->StuckShownInAction = 0;
  form->FindPossibleMoves();
  EXPECT_EQ(stalemates, 2);
  EXPECT_EQ(Losses, 1);
  EXPECT_EQ(form->StuckShown, 1);
  EXPECT_EQ(Tableau(), before);
}

TEST_F(MoveSearch, OneOrTwoFreeSpacesWithNothingToDoAreStuckToo) {
  for (const QString& cells : {QStringLiteral("- AD AS AC - - - -"), QStringLiteral("AH - AS - - - - -")}) {
    SCOPED_TRACE(cells.toStdString());
    stalemates = 0;
    form->StuckShownInAction = 0;  // each board is judged in an action of its own
    LayOut(DeadColumns, cells);
    form->FindPossibleMoves();
    EXPECT_EQ(stalemates, 1);
    EXPECT_EQ(Entries(), "");
  }
}

// ---- One loss per deal ------------------------------------------------------------

// One free cell left, and the 4♠ on the 3♥ with the 2♥ at home: the 3♦ fits
// onto the 4♠, so the game goes on. Double-clicking the 4♠ (position 28)
// fills the last free cell, the 3♥ follows the 2♥ home in a pass of its own,
// and nothing can move any more.
Columns AboutToBeLost() {
  Columns columns = DeadColumns;
  columns[4] = QStringLiteral("7H 5S 3H 4S");
  return columns;
}
const QString AboutToBeLostCells = QStringLiteral("AD AS AC - 2H - - -");

// Red cards only, no ace, no one-card column, and one free cell left:
// stuck, and still stuck once a card has gone into that free cell.
const Columns RedPairs = {"QH 2H", "QD 2D", "JH 3H", "JD 3D", "TH 4H", "TD 4D", "9H 5H", "9D 5D"};

TEST_F(MoveSearch, AKeptLostBoardIsReportedOncePerActionAndItsDealBooksOneLoss) {
  LayOut(AboutToBeLost(), AboutToBeLostCells);
  // The double-click as the window delivers it: a press, its release as a
  // drop on the card itself, then the double-click.
  form->Image1_MouseDown(28, platform::LeftButton, 0, 0, 0);
  form->Image1_DragDrop(28);
  EXPECT_EQ(stalemates, 0);
  form->Image1_DblClick(28);

  // Two passes ran their searches on the lost board: one dialog, one loss.
  EXPECT_EQ(stalemates, 1);
  EXPECT_EQ(Losses, 1);
  EXPECT_EQ(form->Cell[3], Code("4S"));
  EXPECT_EQ(form->Cell[4], Code("3H"));
  const QByteArray records = folder.Read("tarnvole.cfg");
  EXPECT_EQ(RecordOf(records, 8).trimmed(), QByteArray("1"));
  const auto lost = Tableau();

  // Each later action on the kept board shows the dialog once more and
  // books nothing.
  const std::vector<std::pair<std::string, std::function<void()>>> actions = {
      {"a click on a card",
       [&] {
         form->Image1_MouseDown(16, platform::LeftButton, 0, 0, 0);
         form->Image1_DragDrop(16);
       }},
      {"a card dropped on a full free cell",
       [&] {
         form->Image1_MouseDown(16, platform::LeftButton, 0, 0, 0);
         form->Image2_DragDrop(1);
       }},
      {"a double-click on a free-cell card",
       [&] {
         form->Image2_MouseDown(0, platform::LeftButton, 0, 0, 0);
         form->Image2_DragDrop(0);
         form->Image2_DblClick(0);
       }},
      {"the hint", [&] { form->RunHintCommand(); }},
  };
  for (const auto& [what, action] : actions) {
    SCOPED_TRACE(what);
    const int before = stalemates;
    action();
    EXPECT_EQ(stalemates, before + 1);
    EXPECT_EQ(Losses, 1);
    EXPECT_EQ(folder.Read("tarnvole.cfg"), records);
    EXPECT_EQ(Tableau(), lost);
  }

  // The upper button deals anew; that deal can be lost and booked again.
  keepLostBoard = false;
  form->Image1_MouseDown(16, platform::LeftButton, 0, 0, 0);
  form->Image1_DragDrop(16);
  EXPECT_EQ(Losses, 1);
  EXPECT_EQ(form->Tableau[0], Code("AH"));
  keepLostBoard = true;
  LayOut(AboutToBeLost(), AboutToBeLostCells);
  const int before = stalemates;
  form->Image1_MouseDown(28, platform::LeftButton, 0, 0, 0);
  form->Image1_DragDrop(28);
  form->Image1_DblClick(28);
  EXPECT_EQ(stalemates, before + 1);
  EXPECT_EQ(Losses, 2);
  EXPECT_EQ(RecordOf(folder.Read("tarnvole.cfg"), 8).trimmed(), QByteArray("2"));
}

TEST_F(MoveSearch, TheDropOnItselfAndTheDoubleClickOfOneGestureShowTheDialogOnce) {
  LayOut(RedPairs, Kings);
  form->Cell[3] = QString();
  form->Image1_MouseDown(8, platform::LeftButton, 0, 0, 0);
  form->Image1_DragDrop(8);
  EXPECT_EQ(stalemates, 1);
  form->Image1_DblClick(8);

  EXPECT_EQ(form->Cell[3], Code("2H"));  // the double-click did move the card
  EXPECT_EQ(stalemates, 1);
  EXPECT_EQ(Losses, 1);
}

// ---- How many free spaces ----------------------------------------------------------

TEST_F(MoveSearch, ThreeFreeSpacesAreNeverStuckAndOnlyTheImmediateMovesAreListed) {
  LayOut(DeadColumns, QStringLiteral("- - - AC - - - -"));
  form->FindPossibleMoves();
  EXPECT_EQ(stalemates, 0);
  EXPECT_EQ(Entries(), "");

  // The eight of spades onto the nine of diamonds is a move at once; the
  // one-card column would be offered to a free space only with fewer
  // free spaces.
  Columns columns = DeadColumns;
  columns[0] = QStringLiteral("KH JS 8S");
  columns[6] = QStringLiteral("7S");
  columns[7] = QString();
  LayOut(columns, QStringLiteral("- - AS AC - - - -"));
  form->FindPossibleMoves();
  EXPECT_EQ(stalemates, 0);
  EXPECT_EQ(Entries(), "1 16>1 17");
}

TEST_F(MoveSearch, AnEmptyColumnAsTheOnlyFreeSpaceIsAWayOutByItself) {
  for (int empty : {0, 5}) {
    SCOPED_TRACE(empty);
    Columns columns = DeadColumns;
    columns[empty] = QString();
    LayOut(columns, FullFreeCells);
    form->FindPossibleMoves();
    EXPECT_EQ(stalemates, 0);
    EXPECT_EQ(Entries(), "");
  }
}

TEST_F(MoveSearch, AOneCardColumnIsOfferedToTheLowestFreeSpaceByBothDepths) {
  Columns columns = DeadColumns;
  columns[3] = QStringLiteral("KC");

  // One free space, free cell 0: offered once.
  LayOut(columns, QStringLiteral("- AD AS AC - - - -"));
  form->FindPossibleMoves();
  EXPECT_EQ(Entries(), "1 3>2 0");

  // Two free spaces: offered by both depths, to the lower cell.
  LayOut(columns, QStringLiteral("AH - - AC - - - -"));
  form->FindPossibleMoves();
  EXPECT_EQ(Entries(), "1 3>2 1, 1 3>2 1");

  // With the free cells full the free space is the lowest empty column.
  columns = DeadColumns;
  columns[2] = QString();
  columns[4] = QStringLiteral("7H");
  columns[6] = QString();
  LayOut(columns, FullFreeCells);
  form->FindPossibleMoves();
  EXPECT_EQ(Entries(), "1 4>3 2, 1 4>3 2");
  EXPECT_EQ(stalemates, 0);
}

TEST_F(MoveSearch, TheTopCardOfATwoCardColumnIsOfferedOnlyWithTwoFreeSpaces) {
  Columns columns = DeadColumns;
  columns[3] = QStringLiteral("KC JD");

  LayOut(columns, QStringLiteral("AH AD - - - - - -"));
  form->FindPossibleMoves();
  EXPECT_EQ(Entries(), "1 3>2 2");
  EXPECT_EQ(stalemates, 0);

  LayOut(columns, QStringLiteral("AH AD - AC - - - -"));
  form->FindPossibleMoves();
  EXPECT_EQ(Entries(), "");
  EXPECT_EQ(stalemates, 1);
}

// ---- The moves found ----------------------------------------------------------------

TEST_F(MoveSearch, ABlackSevenIsNotMovedBetweenTheRedEightsWithoutAFreeSpace) {
  // The seven of spades lies on the eight of hearts; the eight of diamonds
  // ends another column.
  Columns columns = DeadColumns;
  columns[6] = QStringLiteral("5H 8H 7S");
  columns[7] = QStringLiteral("7C 5D 3C 8D");

  LayOut(columns, FullFreeCells);
  form->FindPossibleMoves();
  EXPECT_EQ(stalemates, 1);
  EXPECT_EQ(Entries(), "");

  LayOut(columns, QStringLiteral("- AD AS AC - - - -"));
  form->FindPossibleMoves();
  EXPECT_EQ(stalemates, 1);
  EXPECT_EQ(Entries(), "1 22>1 31");
}

TEST_F(MoveSearch, TheOnlyCardOfAColumnCountsWithoutAFreeSpace) {
  Columns columns = DeadColumns;
  columns[6] = QStringLiteral("7S");
  columns[7] = QStringLiteral("7C 5D 3C 8D");
  LayOut(columns, FullFreeCells);
  form->FindPossibleMoves();
  EXPECT_EQ(stalemates, 0);
  EXPECT_EQ(Entries(), "1 6>1 31");
}

TEST_F(MoveSearch, FreeCellMovesComeFirstThenColumnCardsHomeThenOntoCards) {
  // Whatever the cells and columns: free cell 3 home, free cell 0 onto both
  // black threes, the three of spades home, the eight of spades onto the
  // nine of diamonds.
  Columns columns = DeadColumns;
  columns[0] = QStringLiteral("KH JS 8S");
  LayOut(columns, QStringLiteral("AH AD AS 8D - 7D - -"));
  form->FindPossibleMoves();
  EXPECT_EQ(Entries(), "2 3>2 5, 1 16>1 17");

  LayOut(columns, QStringLiteral("2H AD AS 8D 2S 7D - -"));
  form->FindPossibleMoves();
  EXPECT_EQ(Entries(), "2 3>2 5, 2 0>1 22, 2 0>1 23, 1 22>2 4, 1 16>1 17");
}

TEST_F(MoveSearch, SixMovesAreListedAndAnyFurtherOneStillCounts) {
  // Each red eight fits on both black nines, each black nine on both red
  // tens: eight moves, of which the first six in order are listed.
  Columns columns = DeadColumns;
  columns[0] = QStringLiteral("KH 9S");
  columns[1] = QStringLiteral("KD 9C");
  columns[2] = QStringLiteral("KS TH");
  columns[3] = QStringLiteral("KC TD");
  LayOut(columns, QStringLiteral("8H 8D AS AC - - - -"));
  form->FindPossibleMoves();
  EXPECT_EQ(Entries(), "2 0>1 8, 2 0>1 9, 2 1>1 8, 2 1>1 9, 1 8>1 10, 1 8>1 11");

  // With the lists already full, a single move is not listed but keeps the
  // board from being stuck.
  columns = DeadColumns;
  columns[6] = QStringLiteral("7S");
  columns[7] = QStringLiteral("7C 5D 3C 8D");
  LayOut(columns, FullFreeCells);
  for (int k = 0; k < 6; ++k) {
    form->HintFrom[k] = QStringLiteral("2 %1").arg(k);
    form->HintTo[k] = QStringLiteral("2 7");
  }
  const std::string full = Entries();
  form->FindPossibleMoves();
  EXPECT_EQ(stalemates, 0);
  EXPECT_EQ(Entries(), full);
}

TEST_F(MoveSearch, TheSearchAppendsToWhatTheListsHold) {
  Columns columns = DeadColumns;
  columns[6] = QStringLiteral("7S");
  columns[7] = QStringLiteral("7C 5D 3C 8D");
  LayOut(columns, FullFreeCells);
  form->HintFrom[0] = QStringLiteral("2 0");
  form->HintTo[0] = QStringLiteral("2 4");
  form->HintFrom[1] = QStringLiteral("1 9");
  form->HintTo[1] = QStringLiteral("3 2");

  form->FindPossibleMoves();
  form->FindPossibleMoves();

  EXPECT_EQ(Entries(), "2 0>2 4, 1 9>3 2, 1 6>1 31, 1 6>1 31");
}

TEST_F(MoveSearch, AColumnDownToRow18EndsAtItsRow18Position) {
  // The last of nineteen cards, the six of spades, goes home on the five.
  Columns columns = DeadColumns;
  columns[1] = QStringLiteral("KD");
  columns[5] = QStringLiteral("KH JH 9H 7H 5H 3H AH KD JD 9D 7D 5D 3D AD KC JC 9C 7C 6S");
  LayOut(columns, QStringLiteral("AH AD AS AC - - 5S -"));
  form->FindPossibleMoves();
  EXPECT_EQ(form->ColumnBottom, (std::array<Long, 8>{16, 1, 18, 19, 20, 149, 22, 23}));
  EXPECT_EQ(Entries(), "1 149>2 6");

  columns[0] = QString();
  LayOut(columns, FullFreeCells);
  form->FindPossibleMoves();
  EXPECT_EQ(form->ColumnBottom[0], 0);
}

TEST_F(MoveSearch, TwoCardsMoveAsARunWithOneFreeSpace) {
  // The nine of spades (with the eight of diamonds on it) onto the ten of
  // hearts: once as the second card, once as a run.
  Columns columns = RedColumns;
  columns[4] = QStringLiteral("AS 9S 8D");
  columns[5] = QStringLiteral("9H 9D TH");
  LayOut(columns, Kings);
  form->FindPossibleMoves();
  EXPECT_EQ(Entries(), "1 12>1 21, 1 12>1 21");

  // The ten of diamonds lies on the nine of spades but is no run with it.
  columns[4] = QStringLiteral("AS 9S TD");
  LayOut(columns, Kings);
  form->FindPossibleMoves();
  EXPECT_EQ(Entries(), "1 12>1 21");
}

TEST_F(MoveSearch, ThreeCardsMoveAsARunOnlyWithTwoFreeSpaces) {
  Columns columns = RedColumns;
  columns[4] = QStringLiteral("AS TH 9S 8D");
  columns[5] = QStringLiteral("9H 9D JC");

  // One free space looks no deeper than the second card.
  LayOut(columns, Kings);
  form->FindPossibleMoves();
  EXPECT_EQ(Entries(), "");

  // Two: the ten of hearts onto the jack of clubs as the third card and
  // as the top of the run.
  columns[6] = QString();
  LayOut(columns, Kings);
  form->FindPossibleMoves();
  EXPECT_EQ(Entries(), "1 12>1 21, 1 12>1 21");

  // A run broken at its lower or its upper link is only the third card.
  for (const QString& column : {QStringLiteral("AS TH 9S QC"), QStringLiteral("AS TH 8H 7S")}) {
    SCOPED_TRACE(column.toStdString());
    columns[4] = column;
    LayOut(columns, Kings);
    form->FindPossibleMoves();
    EXPECT_EQ(Entries(), "1 12>1 21");
  }
}

}  // namespace
