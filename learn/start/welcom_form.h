// The welcome view, the home page docked in the main window: a picture, a side panel and the
// welcome text laid out as labels from its markup.
#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

namespace zabko {

class TMyShape;
class TNManager;
class TNStatic;
class TZabkolexStrings;

class TWelcomForm : public QWidget {
  Q_OBJECT

 public:
  TWelcomForm(TNManager* manager, const TZabkolexStrings& strings, QWidget* parent = nullptr);

  // The welcome text laid out again over the whole form (earlier labels go); right to left
  // unless LeftToRight.
  void ShowOpenPage(bool leftToRight);
  void ApplyLeftToRight();
  void ClearLetter();

  // The main window's ClearLetter.
  std::function<void()> ClearLetterHandler;

  TMyShape* MyShape1() const { return myShape1_; }
  TNStatic* Image3() const { return image3_; }
  QWidget* Panel1() const { return panel1_; }
  // The labels of the welcome text.
  QList<QWidget*> TextLabels() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  const TZabkolexStrings& strings_;
  bool leftToRight_ = false;
  TMyShape* myShape1_ = nullptr;
  TNStatic* image3_ = nullptr;
  QWidget* panel1_ = nullptr;
  QWidget* text_ = nullptr;
};

}  // namespace zabko
