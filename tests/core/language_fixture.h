// Small word databases (format 3010) and a letter button double for the language-pack and
// application-type tests.
#pragma once

#include "core/letter_button.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

#include <memory>
#include <vector>

namespace zabko::test {

struct FixtureWord {
  int id;
  int letterNumber;     // 1-based Hebrew letter number
  const char* search;   // UTF-8
  const char* headword; // UTF-8; the search text when null
  QList<QByteArray> soundNames = {"main", "extra"};  // the files packet's names
};

// Writes a format 3010 database with the words to path.
void WriteWordDatabase(const QString& path, const std::vector<FixtureWord>& words);

class FakeLetterButton : public ILetterButton {
 public:
  bool IsDown() const override { return down; }
  void SetDown(bool d) override { down = d; }
  void SetLetterHandlers(std::function<void()> c, std::function<void()> e, std::function<void()> l) override {
    onClick = std::move(c);
    onEnter = std::move(e);
    onLeave = std::move(l);
  }
  void ApplyStyle(const TButtonStyle& s) override { style = s; }

  bool down = false;
  std::function<void()> onClick, onEnter, onLeave;
  TButtonStyle style;
};

// Owns n buttons and hands out their addresses as a pack's button array.
struct FakeButtons {
  explicit FakeButtons(int n);
  std::vector<ILetterButton*> Pointers() const;
  std::vector<std::unique_ptr<FakeLetterButton>> buttons;
  FakeLetterButton& operator[](int i) { return *buttons[static_cast<std::size_t>(i)]; }
};

}  // namespace zabko::test
