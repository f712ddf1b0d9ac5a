// The help window: the plain text help file "Data.hlp" from the program's folder, read only.
#pragma once

#include <QWidget>

class QScrollArea;
class QTextEdit;

namespace zabko {

class THelpForm : public QWidget {
  Q_OBJECT

 public:
  explicit THelpForm(QWidget* parent = nullptr);

  // Loads "Data.hlp" (UTF-8) from HelpFolder; a missing file fails with "Cannot open file " and
  // its path in quotes.
  void FormShow();

  // The program's folder unless set.
  QString HelpFolder;

  QTextEdit* RichEdit() const { return richEdit_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QTextEdit* richEdit_ = nullptr;
  QScrollArea* scrollBox1_ = nullptr;
};

}  // namespace zabko
