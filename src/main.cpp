#include <QApplication>

#include "card_table/form1.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("TarnVole"));
  auto* form1 = new tarnvole::Form1();
  form1->Form_Load();
  form1->show();
  return QApplication::exec();
}
