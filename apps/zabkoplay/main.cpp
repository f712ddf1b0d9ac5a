// The game program.
#include "apps/game_body.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  return zabko::GameBody(QApplication::arguments());
}
