// The floor under the learning program's splash figure: a bare Qt Widgets program that shows one
// frameless 550 x 400 window with a line of Arial text (the splash's size and font) and ends after
// 1.5 s. bench/startup times it the way it times the splash, so the difference between the two
// figures is what the program itself runs before its splash is on screen.
#include <QApplication>
#include <QLabel>
#include <QTimer>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QLabel window(QStringLiteral("Zabkolex"));
  window.setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  window.setFont(QFont(QStringLiteral("Arial"), 11));
  window.setFixedSize(550, 400);
  window.show();
  QTimer::singleShot(1500, &application, &QApplication::quit);
  return QApplication::exec();
}
