// What the frame tests share: the connection flow's fixture (stand-in server in process, fakes for
// the windows), the demo skin, a fixed-width measure, the word databases in the data folder as
// after the language file download, and a main window that records what the frames ask of it.
#pragma once

#include "learn/frames/frame_host.h"
#include "ui/n_manager.h"

#include "tests/common/frame_grab.h"
#include "tests/common/test_util.h"
#include "tests/net/flow_fixture.h"
#include "tests/ui/dialog_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QWidget>

namespace zabko::test {

inline QString DemoSkin() { return QDir(ZABKO_DATA_OUT).filePath("Data.res"); }

class TFakeFrameHost : public IFrameHost {
 public:
  TFakeFrameHost(TFakeRunner& runner, TFakeMessages& messages, TFakeClock& clock, std::unique_ptr<TZabkolexFlow>& flow)
      : runner_(runner), messages_(messages), clock_(clock), flow_(flow) {}

  void FocusCurrentView() override { calls << "FocusCurrentView"; }
  void SelectLanguagePack(int code) override { calls << "SelectLanguagePack " + QString::number(code); }
  void RefreshView() override { calls << "RefreshView"; }
  bool LeaveViewForSwitch() override {
    calls << "LeaveViewForSwitch";
    return leaveAnswer;
  }
  bool CanChangeLetter(TLanguagePack&, ILetterButton*) override { return canChangeLetter; }
  void LetterChosen(TLanguagePack& pack, ILetterButton* button) override {
    calls << "LetterChosen " + QString::number(pack.IndexOfButton(button));
  }
  void ShowWords(const QString& title, const TWordItemList& words) override {
    calls << "ShowWords " + title;
    shown = words;
  }
  void ShowStringList(const QString& title, const TWordItemList& list) override {
    calls << "ShowStringList " + title;
    shown = list;
  }
  void StackLeftPanel(QWidget*) override { calls << "StackLeftPanel"; }
  IProgressRunner& ProgressRunner() override { return runner_; }
  IMessageService& MessageService() override { return messages_; }
  IFlowClock& FlowClock() override { return clock_; }
  TZabkolexFlow& Flow() override { return *flow_; }

  QStringList calls;
  TWordItemList shown;
  bool leaveAnswer = true;
  bool canChangeLetter = true;

 private:
  TFakeRunner& runner_;
  TFakeMessages& messages_;
  TFakeClock& clock_;
  std::unique_ptr<TZabkolexFlow>& flow_;
};

// Every character as wide as half the font height, lines as high as the font: fonts that shrink
// make texts narrower, as with a real font.
class TScaledMeasure : public TTextMeasure {
 public:
  int TextWidth(const TGUIFont& font, const QString& text) override {
    return int(text.size()) * std::abs(Height(font)) / 2;
  }
  int TextHeight(const TGUIFont& font, const QString&) override { return std::abs(Height(font)); }
  QFont LabelFont(const TGUIFont&) override { return QFont(); }

 private:
  static int Height(const TGUIFont& font) { return font.Height != 0 ? font.Height : font.Size * 2; }
};

class FrameTest : public FlowTest {
 protected:
  void SetUp() override {
    FlowTest::SetUp();
    InstallWordDatabases();
    manager.SetFilename(DemoSkin());
    SetMeasureCanvas(&measure);
  }
  void TearDown() override {
    SetMeasureCanvas(nullptr);
    FlowTest::TearDown();
  }

  void InstallWordDatabases() {
    for (const char* name : {"ClientPsyHebrew.dat", "ClientPsyEnglish.dat"}) {
      const QString target = DataPath(name);
      QDir().mkpath(QFileInfo(target).path());
      QFile::remove(target);
      ASSERT_TRUE(QFile::copy(dir_.path() + "/" + name, target));
    }
  }

  TNManager manager;
  TFixedMeasure measure;
  TFakeFrameHost host{runner_, messages_, clock_, flow_};
};

}  // namespace zabko::test
