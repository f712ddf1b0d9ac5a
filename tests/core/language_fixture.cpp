#include "tests/core/language_fixture.h"

#include "core/data_packet.h"

namespace zabko::test {

void WriteWordDatabase(const QString& path, const std::vector<FixtureWord>& words) {
  TDataPacket db;
  db.AddInteger(3010);
  db.AddNewPacket();
  db.AddNewPacket();  // no subjects
  db.AddNewPacket();  // no subject counts
  TDataPacket* list = db.AddNewPacket();
  for (const FixtureWord& w : words) {
    TDataPacket* p = list->AddNewPacket();
    p->AddInteger(w.id);
    p->AddInteger(w.letterNumber);
    p->AddNewPacket()->AddInteger(1);  // sort keys
    TDataPacket* files = p->AddNewPacket();
    for (const QByteArray& name : w.soundNames) {
      files->AddString(name);
      files->AddInteger(100);
    }
    TDataPacket* examples = files->AddNewPacket();
    examples->AddString("example1");
    examples->AddInteger(1);
    examples->AddString("example2");
    examples->AddInteger(2);
    const QString search = QString::fromUtf8(w.search);
    p->AddUTFString(search);
    p->AddUTFString(QStringLiteral("first; second"));
    p->AddUTFString(search);
    p->AddUTFString(search);
    p->AddUTFString(w.headword != nullptr ? QString::fromUtf8(w.headword) : search);
  }
  db.SaveToFile(path);
}

FakeButtons::FakeButtons(int n) {
  for (int i = 0; i < n; ++i) buttons.push_back(std::make_unique<FakeLetterButton>());
}

std::vector<ILetterButton*> FakeButtons::Pointers() const {
  std::vector<ILetterButton*> out;
  for (const auto& b : buttons) out.push_back(b.get());
  return out;
}

}  // namespace zabko::test
