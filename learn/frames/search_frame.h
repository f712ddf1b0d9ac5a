// The quick search of the left column: a word box per language pack with a drop-down of all the
// pack's words, and a read-only box with the translation of the word typed or picked. A text that
// is no word lists every word containing it in the word summary. The panel collapses to its title.
#pragma once

#include "core/language_pack.h"
#include "learn/frames/side_panel.h"

#include <QWidget>

#include <vector>

class QComboBox;
class QPlainTextEdit;

namespace zabko {

class IFrameHost;
class TNButton;
class TNFrameStatic;
class TNManager;
class TNStatic;
class TTntLabel;
class TWord;

class TSearchFrm : public QWidget {
  Q_OBJECT

 public:
  TSearchFrm(QWidget* parent, TNManager* manager, IFrameHost* host);

  // Takes a word box per language pack and collapses the panel when "Main"/"ShowSearch" (by
  // default: a screen higher than 660 px) is off.
  void Setup(int screenHeight);
  // Fills every box from its pack, after log-on.
  void FillPacks();
  // Shows the box of the pack with that code.
  void ShowPack(int languageCode);
  // The box of the current pack (the last one when several match), or none.
  QComboBox* CurrentBox() const;
  void LoadCaptions();
  void ApplyLeftToRight();
  void SetSizeChanged(TSizeChanged callback) { sizeChanged_ = std::move(callback); }

  void QSearchBtnClick();
  void QuickSearch1Change();
  void MiniBtnClick();

  // The word of the current box: the item picked, else the word whose search text is the typed
  // text (any letter case); with Select the box then shows that word's item.
  TWord* FindCurrentWord(bool select);
  int DropDownWidth(int box) const { return dropWidths_.at(size_t(box)); }
  int CollapsedHeight() const { return collapsedHeight_; }
  int ExpandedHeight() const { return expandedHeight_; }
  // Lays the expanded frame out in Height pixels (at most its full height, at least enough for a
  // few lines of translation): the translation box gives up what a low window lacks.
  void FitToHeight(int height);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FillBox(int index, TLanguagePack& pack);
  void ShowTranslation(const TWord* word);
  int BoxIndex(const QComboBox* box) const;
  void PlaceMemo();
  void UpdateMemoScrollBar();

  IFrameHost* host_;
  TTitleBar title_;
  TNFrameStatic* nFrameStatic1_;
  TNButton* qSearchBtn_;
  QComboBox* quickSearch_[3];
  QPlainTextEdit* explainMemo_;

  std::vector<QComboBox*> boxes_;
  std::vector<TWordItemList> items_;
  std::vector<int> dropWidths_;
  int collapsedHeight_ = 0;
  int expandedHeight_ = 0;
  TSizeChanged sizeChanged_;
};

}  // namespace zabko
