// A modal card of two link labels that the question panel fills with a word's example
// sentence; a click on the first label plays it.
#pragma once

#include "ui/modal_form.h"

#include <functional>

namespace zabko {

class TLinkLabel2;

class TExtraInfoForm : public TModalForm {
  Q_OBJECT

 public:
  // The code sent to the event when the first label is clicked.
  static constexpr int kPlayExample = 9;

  explicit TExtraInfoForm(QWidget* parent = nullptr);

  void Label1Click();
  void ApplyLeftToRight();
  // With the large test layout the first label grows by 4 points and the second shrinks by 4.
  void ApplyLargeLayout(bool largeTestLayout);

  // Set by the question panel before showing.
  std::function<void(int code)> Event;

  TLinkLabel2* Label1() const { return label1_; }
  TLinkLabel2* Label2() const { return label2_; }

 private:
  TLinkLabel2* label1_ = nullptr;
  TLinkLabel2* label2_ = nullptr;
};

}  // namespace zabko
