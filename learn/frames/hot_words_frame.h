// The top panel of the left column: the running total of questions asked in the system and a
// clickable line of the current pack's popular ("hot") words from the server, which opens them as
// a list in the word summary. The panel collapses to its title bar.
#pragma once

#include "core/language_pack.h"
#include "learn/frames/side_panel.h"

#include <QWidget>

#include <memory>

namespace zabko {

class IFrameHost;
class TDataPacket;
class TLinkLabel2;
class TNFrameStatic;
class TNManager;
class TTntLabel;

// The decimal form with "," before every group of three digits from the right; a minus sign
// stays in front and never takes a comma after it (-1,502).
QString GroupDigits(qint64 value);

class THotWordsFrm : public QWidget {
  Q_OBJECT

 public:
  // The longest words line shown; a longer one is cut and ends in "...".
  static constexpr int kMaxLineLength = 140;

  THotWordsFrm(QWidget* parent, TNManager* manager, IFrameHost* host);
  ~THotWordsFrm() override;

  // Keeps a copy of the packet (item 0: two counts; item k + 1: the word ids of pack k) and shows it.
  void SetPacket(const TDataPacket& packet);
  // The heights, and the collapse stored in "Main"/"ShowHotWords".
  void Init();
  // The current pack changed: the line's direction and words follow it.
  void PackChanged();
  void Refresh();
  void LoadCaptions();
  void ApplyLeftToRight();
  void SetSizeChanged(TSizeChanged callback) { sizeChanged_ = std::move(callback); }

  void WordsLblClick();
  void MiniBtnClick();

  const TWordItemList& Words() const { return words_; }

 private:
  IFrameHost* host_;
  TTitleBar title_;
  TNFrameStatic* nFrameStatic1_;
  TLinkLabel2* wordsLbl_;
  TTntLabel* totalLbl_;

  std::unique_ptr<TDataPacket> packet_;
  TWordItemList words_;
  int collapsedHeight_ = 0;
  int expandedHeight_ = 0;
  TSizeChanged sizeChanged_;
};

}  // namespace zabko
