#include "learn/frames/hot_words_frame.h"

#include "core/app_type_specific.h"
#include "core/data_packet.h"
#include "core/word.h"
#include "core/word_list.h"
#include "core/zabkolex_strings.h"
#include "learn/frames/frame_host.h"
#include "net/zabkolex_central.h"
#include "platform/registry_ini_file.h"
#include "ui/form_loading.h"
#include "ui/n_button.h"
#include "ui/n_manager.h"
#include "ui/tnt_label.h"
#include "ui/win_color.h"
#include "ui/win_font.h"
#include "ui/zabkolex_utils.h"

namespace zabko {

namespace {

QString Text(const QString& key) { return Central().Strings().GetString(key); }

}  // namespace

QString GroupDigits(qint64 value) {
  const bool negative = value < 0;
  QString digits = QString::number(value);
  if (negative) digits.remove(0, 1);
  for (qsizetype at = digits.size() - 3; at > 0; at -= 3) digits.insert(at, QLatin1Char(','));
  return negative ? QLatin1Char('-') + digits : digits;
}

THotWordsFrm::THotWordsFrm(QWidget* parent, TNManager* manager, IFrameHost* host) : QWidget(parent), host_(host) {
  setObjectName(QStringLiteral("HotWordsFrm"));
  resize(186, 149);
  setLayoutDirection(Qt::RightToLeft);

  TFormLoading loading(this);
  title_ = BuildTitleBar(this, manager);
  nFrameStatic1_ = new TNFrameStatic(this, QStringLiteral("NFrameStatic1"));
  nFrameStatic1_->setGeometry(0, 24, 186, 125);
  nFrameStatic1_->SetManager(manager);
  nFrameStatic1_->SetSize(8);
  nFrameStatic1_->SetColor(15985881);
  nFrameStatic1_->SetBackgroundName(QStringLiteral("main\\BlueBkg.bmp"));

  wordsLbl_ = new TLinkLabel2(nFrameStatic1_, QStringLiteral("WordsLbl"));
  wordsLbl_->SetAutoSize(false);
  wordsLbl_->setGeometry(10, 9, 167, 64);
  wordsLbl_->setWordWrap(true);
  wordsLbl_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  wordsLbl_->setFont(WinFont(QStringLiteral("Arial"), 0, 16));
  wordsLbl_->SetShowLink(true);
  wordsLbl_->SetLinkColor(clBlack);

  totalLbl_ = new TTntLabel(nFrameStatic1_, QStringLiteral("TotalLbl"));
  totalLbl_->SetAutoSize(false);
  totalLbl_->setGeometry(10, 77, 167, 39);
  totalLbl_->setWordWrap(true);
  totalLbl_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  totalLbl_->setFont(WinFont(QStringLiteral("Arial"), 0, 16, TFontStyle::Bold));
  loading.Finish();

  connect(wordsLbl_, &TTntLabel::OnClick, this, &THotWordsFrm::WordsLblClick);
  connect(title_.MiniBtn, &TNBase::OnClick, this, &THotWordsFrm::MiniBtnClick);
}

THotWordsFrm::~THotWordsFrm() = default;

void THotWordsFrm::SetPacket(const TDataPacket& packet) {
  auto copy = std::make_unique<TDataPacket>();
  copy->Assign(packet);
  packet_ = std::move(copy);
  Refresh();
}

void THotWordsFrm::Init() {
  collapsedHeight_ = title_.Bar->height();
  expandedHeight_ = title_.Bar->height() + nFrameStatic1_->height();
  if (!Central().Settings().ReadBool(QStringLiteral("Main"), QStringLiteral("ShowHotWords"), true)) MiniBtnClick();
}

void THotWordsFrm::PackChanged() {
  const TLanguagePack* pack = Central().CurrentLanguagePack();
  wordsLbl_->setLayoutDirection(pack && pack->IsRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
  Refresh();
}

void THotWordsFrm::Refresh() {
  if (!packet_) return;
  TZabkolexCentral& central = Central();
  const TLanguagePack* current = central.CurrentLanguagePack();
  const auto& packs = central.LanguagePacks();
  int index = int(packs.size()) - 1;
  for (int i = 0; i + 1 < int(packs.size()); ++i) {
    if (current && packs[size_t(i)]->GetCode() == current->GetCode()) {
      index = i;
      break;
    }
  }

  // A packet short of the counts or of the pack's ids shows nothing there rather than failing:
  // it arrives inside the log-on.
  const TDataPacket* counts = packet_->PacketCount() > 0 ? packet_->GetPacket(0) : nullptr;
  if (counts && counts->IntegerCount() >= 2) {
    const qint64 total = qint64(counts->GetInteger(0)) + qint64(counts->GetInteger(1));
    totalLbl_->SetCaption(Text(QStringLiteral("HotWordsFrm.TotalLbl.CaptionPre")) + GroupDigits(total) +
                          Text(QStringLiteral("HotWordsFrm.TotalLbl.CaptionSuf")));
  } else {
    totalLbl_->SetCaption(QString());
  }

  words_.clear();
  QString line;
  const TDataPacket* ids = index >= 0 && index + 1 < packet_->PacketCount() ? packet_->GetPacket(index + 1) : nullptr;
  const TWordList* list = current ? &current->WordList() : nullptr;
  if (ids && list) {
    for (int k = 0; k < ids->IntegerCount(); ++k) {
      TWord* word = list->FindById(ids->GetInteger(k));
      if (!word) continue;
      line += word->Headword + QStringLiteral(", ");
      words_.push_back({word->Headword, word});
    }
  }
  if (!line.isEmpty()) line.chop(2);
  if (line.size() > kMaxLineLength) line = line.left(kMaxLineLength) + QStringLiteral("...");
  wordsLbl_->SetCaption(line);
}

void THotWordsFrm::WordsLblClick() { host_->ShowStringList(Text(QStringLiteral("HotWordsFrm.ListCaption")), words_); }

void THotWordsFrm::MiniBtnClick() {
  // The main window hides the panel by giving it no height: then the button does nothing.
  if (DockPanel(this)->height() == 0) return;
  ToggleCollapse(this, title_.MiniBtn, collapsedHeight_, expandedHeight_, QStringLiteral("ShowHotWords"),
                 sizeChanged_);
}

void THotWordsFrm::LoadCaptions() {
  ApplyLabelText(QStringLiteral("HotWordsFrm"), title_.Caption, false);
  title_.MiniBtn->setToolTip(Text(QStringLiteral("SearchFrm.MiniBtn.Hint")));
  Central().AppType().StyleCaptionLabel(title_.Caption);
}

void THotWordsFrm::ApplyLeftToRight() {
  MirrorTitleBar(title_.Bar, title_.MiniBtn, title_.Caption);
  totalLbl_->setLayoutDirection(Qt::LeftToRight);
  wordsLbl_->setLayoutDirection(Qt::LeftToRight);
}

}  // namespace zabko
