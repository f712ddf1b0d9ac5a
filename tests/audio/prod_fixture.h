// A production run on databases the test writes: an English word database with subjects, a
// resource database whose sounds are short marker texts (so a written file shows exactly which
// sounds went in, in which order), the stored English text pack, a fixed date and the window fakes.
#pragma once

#include "audio/prod_audio.h"
#include "core/app_type_specific.h"
#include "core/language_pack.h"
#include "core/res_manager.h"
#include "core/zabkolex_app.h"
#include "core/zabkolex_strings.h"
#include "tests/common/window_fakes.h"
#include "tools/res_db_writer.h"
#include "tools/word_db_writer.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace zabko::test {

struct ProdWord {
  const char* text;       // the English word (search text and headword)
  const char* meanings;   // ";" between meanings
  qint32 subject;         // a sub-subject of the fixture's subjects
};

class ProdFixture : public ::testing::Test {
 protected:
  // Subject 1 ("Top") with sub-subjects 11 "Home" / "Bayit" and 12 "Work" / "Avoda".
  void WriteWords(const std::vector<ProdWord>& words, int extraSubjects = 0) {
    TWordDBWriter writer(WordLanguage::English);
    writer.AddSubject({1, 0, QStringLiteral("Top"), QStringLiteral("Top")});
    writer.AddSubject({11, 1, QStringLiteral("Home"), QStringLiteral("Bayit")});
    writer.AddSubject({12, 1, QStringLiteral("Work"), QStringLiteral("Avoda")});
    for (int i = 0; i < extraSubjects; ++i) {
      writer.AddSubject({100 + i, 1, QStringLiteral("Subject %1").arg(i), QStringLiteral("Alt %1").arg(i)});
    }
    for (const ProdWord& w : words) writer.AddWord(QString::fromUtf8(w.text), QString::fromUtf8(w.meanings), w.subject);
    const QString path = dir_.filePath("Words.dat");
    writer.SaveToFile(path, 3010);
    pack_ = std::make_unique<TEnglishLanguage>(1, 26, path, std::vector<ILetterButton*>{}, nullptr, nullptr, nullptr,
                                               TFillWord(FillWordTexts));
    // Sound names and lengths the tests can tell apart: main "m<id>", extras "e<id>.<k>".
    for (const auto& word : pack_->WordList().Words()) {
      word->MainSound = {"m" + QByteArray::number(word->Id), 1000};
      word->ExtraSounds.clear();
      for (int k = 0; k < word->Meanings.size(); ++k) {
        word->ExtraSounds.push_back({"e" + QByteArray::number(word->Id) + "." + QByteArray::number(k), 100});
      }
    }
  }

  // Every sound of every word, except the names in Missing, plus the three silences.
  void WriteSounds(const QList<QByteArray>& missing = {}) {
    TResDBWriter db;
    db.AddData(QStringLiteral("ShortSilence"), "<S>");
    db.AddData(QStringLiteral("InterWordSilence"), "<I>");
    db.AddData(QStringLiteral("LongSilence"), "<L>");
    for (const auto& word : pack_->WordList().Words()) {
      QList<TWordFile> files{word->MainSound};
      for (const TWordFile& f : word->ExtraSounds) files.append(f);
      for (const TWordFile& f : files) {
        if (!missing.contains(f.Name)) db.AddData(QString::fromLatin1(f.Name), "[" + f.Name + "]");
      }
    }
    db.SaveToFile(dir_.filePath("Sounds.dat"));
    QDir().mkpath(dir_.filePath("app"));
    resources_ = std::make_unique<TResManager>(QStringList{dir_.filePath("Sounds.dat")}, dir_.filePath("app"));
  }

  TProdServices Services() {
    if (texts_.Entries().empty()) texts_.LoadLanguage(1);
    TProdServices s;
    s.ResManager = resources_.get();
    s.Pack = pack_.get();
    s.Texts = &texts_;
    s.AppType = &app_;
    s.Progress = &runner_;
    s.Messages = &messages_;
    s.Clock = [] { return EncodeDate(2026, 12, 9); };
    s.TrashFolder = [this](const QString& folder) {
      trashed_ << folder;
      return trashWorks_ && QDir(folder).removeRecursively();
    };
    s.OpenFolder = [this](const QString& folder) { opened_ << folder; };
    return s;
  }

  // The items the dialog hands over: headword texts with their words, in database order.
  TWordItemList Items() const {
    TWordItemList items;
    for (const auto& word : pack_->WordList().Words()) items.append({word->Headword, word.get()});
    return items;
  }
  TWord& Word(const char* text) const { return *pack_->WordList().FindByText(QString::fromUtf8(text)); }

  QString Out() const { return dir_.filePath("out"); }
  QString Dated() const { return Out() + "/9-12-2026/"; }
  static QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
  }
  // Files below a folder, relative, sorted.
  static QStringList Tree(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
  }

  QTemporaryDir dir_;
  std::unique_ptr<TLanguagePack> pack_;
  std::unique_ptr<TResManager> resources_;
  TZabkolexStrings texts_;
  TZabkolexApp app_;
  TFakeRunner runner_;
  TFakeMessages messages_;
  QStringList trashed_, opened_;
  bool trashWorks_ = true;
};

}  // namespace zabko::test
