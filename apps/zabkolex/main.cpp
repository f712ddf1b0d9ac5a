// The learning program.
#include "apps/program_body.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  return zabko::ProgramBody(QApplication::arguments());
}
