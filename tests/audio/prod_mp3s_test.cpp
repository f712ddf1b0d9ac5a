// MP3 production: the bytes of each file, the names and folders, the play lists, today's folder
// when it exists already, and sounds missing from the databases.
#include "tests/audio/prod_fixture.h"

#include "tests/common/test_util.h"
#include "ui/gui_text_builder.h"

namespace zabko {
namespace {

using test::ProdFixture;

bool IsHebrew(const QString& text) {
  for (QChar c : text)
    if (c.unicode() >= 0x05D0 && c.unicode() <= 0x05EA) return true;
  return false;
}

// The lines a message box shows for a text, read with the box's own markup parser: plain runs
// joined, a new line at every break; a link run shows as "<link>".
QStringList MarkupLines(const QString& text) {
  TGUITextBuilder builder;
  builder.Parse(text);
  QStringList lines{QString()};
  for (const auto& run : builder.Runs()) {
    const auto& label = dynamic_cast<const TGUILabel&>(*run);
    if (label.IsBreak()) {
      lines.append(QString());
    } else if (dynamic_cast<const TGUILink*>(run.get())) {
      lines.back() += QStringLiteral("<link>");
    } else {
      lines.back() += label.Text;
    }
  }
  return lines;
}

class ProdMp3sTest : public ProdFixture {
 protected:
  std::unique_ptr<TProdMp3s> Producer(int sortKind = TProdAudio::kLanguageOrder) {
    auto p = std::make_unique<TProdMp3s>(Services(), pack_->WordList());
    p->SetWordList(Items());
    p->SetSortKind(sortKind);
    p->SetOutputFolder(Out());
    return p;
  }
};

TEST_F(ProdMp3sTest, EachWordIsItsSoundThenMeaningsWithSilences) {
  // No, one and two meanings: the inter-word silence only between two extra sounds.
  WriteWords({{"cat", "", 11}, {"dog", "kelev", 11}, {"emu", "tsipor; of", 11}});
  Word("cat").ExtraSounds.clear();
  WriteSounds();
  Producer()->Produce();

  const QStringList files = Tree(Dated());
  ASSERT_EQ(files.size(), 5) << files.join(", ").toStdString();
  struct Case {
    const char* word;
    QByteArray bytes;
  } cases[] = {
      {"cat", "[m%1]<S><L>"},
      {"dog", "[m%1]<S>[e%1.0]<L>"},
      {"emu", "[m%1]<S>[e%1.0]<I>[e%1.1]<L>"},
  };
  int position = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    const TWord& w = Word(c.word);
    const QString name = QStringLiteral("000%1 - %2 - %3.mp3").arg(++position).arg(w.SearchText, w.MeaningsLine());
    ASSERT_TRUE(files.contains(name)) << name.toStdString();
    EXPECT_EQ(Read(Dated() + name), QByteArray(c.bytes).replace("%1", QByteArray::number(w.Id)));
  }
  ASSERT_EQ(runner_.runs.size(), 1u);
  EXPECT_EQ(runner_.runs[0].caption, texts_.GetString("Audio.Mp3Caption"));
  EXPECT_EQ(runner_.runs[0].steps, 3 + 5);
  EXPECT_EQ(runner_.runs[0].stepped, 3);
  ASSERT_EQ(messages_.boxes.size(), 1u);
  EXPECT_EQ(messages_.boxes[0].caption, texts_.GetString("OutputMp3Caption"));
  EXPECT_EQ(messages_.boxes[0].text, texts_.GetString("SucessfulOutput"));
  EXPECT_EQ(opened_, QStringList{Dated()});
}

TEST_F(ProdMp3sTest, NamesDropUnsafeCharactersAndPlayListsListBothOrders) {
  // Database order differs from both the alphabetical and the subject order.
  WriteWords({{"zebra", "a/b", 11}, {"ant", "c?d", 12}, {"mole:x", "e", 11}});
  WriteSounds();
  auto p = Producer();
  p->SetNoMeanings(false);
  p->Produce();

  const QString ant = "0001 - ant - cd.mp3";
  const QString mole = "0002 - molex - e.mp3";
  const QString zebra = "0003 - zebra - ab.mp3";
  EXPECT_EQ(Tree(Dated()), (QStringList{ant, mole, zebra, "Words and meanings by subject.m3u",
                                        "Words and meanings in alphabetical order.m3u"}));
  EXPECT_EQ(Read(Dated() + "Words and meanings in alphabetical order.m3u"), (ant + "\r\n" + mole + "\r\n" + zebra + "\r\n").toUtf8());
  // Subject 11 before 12; within a subject by headword.
  EXPECT_EQ(Read(Dated() + "Words and meanings by subject.m3u"), (mole + "\r\n" + zebra + "\r\n" + ant + "\r\n").toUtf8());
}

TEST_F(ProdMp3sTest, GroupFoldersNumberGroupsInTheOrderTheyFirstAppear) {
  WriteWords({{"bee", "x", 12}, {"ant", "x", 11}, {"bat", "x", 12}, {"cow", "x", 11}, {"yak", "x", 11}});
  Word("yak").SortKeys.Clear();
  WriteSounds();
  auto p = Producer(TProdAudio::kSubjectOrder);
  p->SetSubFolders(true);
  p->SetNoMeanings(true);
  for (const auto& w : pack_->WordList().Words()) w->AltText = w->SearchText.toUpper();
  p->Produce();

  // Subject order: no sort keys first, then 11 (ant, cow), then 12 (bat, bee); the alternative
  // subject names with the no-meanings flag.
  EXPECT_EQ(p->GroupFolders(), (QStringList{"01 - (none)", "02 - Bayit", "03 - Avoda"}));
  const QStringList files = Tree(Dated());
  EXPECT_EQ(files, (QStringList{"01 - (none)/0001 - YAK.mp3", "02 - Bayit/0002 - ANT.mp3", "02 - Bayit/0003 - COW.mp3",
                                "03 - Avoda/0004 - BAT.mp3", "03 - Avoda/0005 - BEE.mp3", "Words by subject.m3u",
                                "Words in alphabetical order.m3u"}));
  EXPECT_EQ(Read(Dated() + "Words by subject.m3u").split('\n').first(), "01 - (none)/0001 - YAK.mp3\r");
}

TEST_F(ProdMp3sTest, GroupsPastNinetyNineStillMatchTheirFolder) {
  std::vector<test::ProdWord> words;
  std::vector<QByteArray> texts;
  for (int i = 0; i < 120; ++i) texts.push_back("word" + QByteArray::number(i));
  for (int i = 0; i < 120; ++i) words.push_back({texts[i].constData(), "x", 100 + i % 110});
  WriteWords(words, 110);
  WriteSounds();
  auto p = Producer(TProdAudio::kSubjectOrder);
  p->SetSubFolders(true);
  // Every word twice: the second pass must find the folders the first made.
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < 120; ++i) {
      const TWord& w = Word(texts[i].constData());
      const int subject = i % 110;
      EXPECT_EQ(p->GroupFolder(w), QStringLiteral("%1 - Subject %2/").arg(subject + 1, 2, 10, QChar(u'0')).arg(subject));
    }
  }
  EXPECT_EQ(p->GroupFolders().size(), 110);
  EXPECT_EQ(p->GroupFolders().back(), "110 - Subject 109");
}

TEST_F(ProdMp3sTest, PositionsArePaddedToFourDigitsAndNeverCut) {
  WriteWords({{"cat", "x", 11}});
  WriteSounds();
  TProdMp3s p(Services(), pack_->WordList());
  TWordItemList items;
  for (int i = 0; i < 10000; ++i) items.append({"cat", &Word("cat")});
  p.BuildFiles(items);
  EXPECT_EQ(p.Files()[0]->Name, "0001 - cat - x.mp3");
  EXPECT_EQ(p.Files()[998]->Name, "0999 - cat - x.mp3");
  EXPECT_EQ(p.Files()[9999]->Name, "10000 - cat - x.mp3");
}

TEST(SafeOutputName, DropsUnsafeAndControlCharactersAndCutsAtCharacterBoundaries) {
  const QString hebrew(200, QChar(0x05D0));  // 2 bytes each in UTF-8
  const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E");  // a surrogate pair, 4 bytes
  struct Case {
    QString name, suffix;
    int bytes;  // UTF-8 length of the result
  } cases[] = {
      {"a/b\\c:d*e\"f?g<h>i|j\tk\x01l", "", 12},
      {hebrew, ".mp3", 250},            // 251 would leave room for 125.5 letters
      {QString(300, u'x'), "", 255},
      {QString(249, u'x') + clef, ".mp3", 249},  // the pair does not fit and goes whole
  };
  for (const Case& c : cases) {
    const QString safe = SafeOutputName(c.name, c.suffix);
    EXPECT_EQ(safe.toUtf8().size(), c.bytes) << c.name.left(20).toStdString();
    EXPECT_FALSE(safe.back().isHighSurrogate());
  }
  EXPECT_EQ(SafeOutputName("a/b\\c:d*e\"f?g<h>i|j\tk\x01l"), "abcdefghijkl");
}

TEST_F(ProdMp3sTest, TodaysFolderIsReplacedOnlyWhenTheUserAgrees) {
  WriteWords({{"cat", "x", 11}});
  WriteSounds();
  QDir().mkpath(Dated());
  QFile old(Dated() + "old.mp3");
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.close();

  messages_.answers = {false};
  Producer()->Produce();
  EXPECT_EQ(Tree(Dated()), QStringList{"old.mp3"});
  ASSERT_EQ(messages_.questions.size(), 1u);
  EXPECT_EQ(messages_.questions[0].caption, texts_.GetString("EraseDirCaption"));
  EXPECT_EQ(messages_.questions[0].flags, kButtonYes | kButtonNo);
  EXPECT_TRUE(trashed_.isEmpty());
  EXPECT_TRUE(runner_.runs.empty());

  // A folder that will not go to the trash stops the run, naming it, before anything is written.
  trashWorks_ = false;
  EXPECT_EQ(test::MessageOf([&] { Producer()->Produce(); }), "Cannot move the folder to the trash: " + Dated());
  EXPECT_TRUE(runner_.runs.empty());

  trashWorks_ = true;
  Producer()->Produce();
  EXPECT_EQ(trashed_.back(), Dated());
  EXPECT_EQ(Tree(Dated()).size(), 3);
  EXPECT_FALSE(Tree(Dated()).contains("old.mp3"));
}

TEST_F(ProdMp3sTest, WithoutAnOutputFolderNothingIsWritten) {
  WriteWords({{"cat", "x", 11}});
  WriteSounds();
  auto p = Producer();
  p->SetOutputFolder(QString());
  p->Produce();
  ASSERT_EQ(messages_.boxes.size(), 1u);
  EXPECT_EQ(messages_.boxes[0].text, texts_.GetString("OutputDirectoryLine"));
  EXPECT_FALSE(QDir(Out()).exists());
}

TEST_F(ProdMp3sTest, AMissingSoundIsLeftOutAndTheClosingBoxNamesTheFile) {
  WriteWords({{"cat", "x; y", 11}, {"dog", "z", 11}});
  const QByteArray lost = "e" + QByteArray::number(Word("cat").Id) + ".0";
  WriteSounds({lost});
  Producer()->Produce();

  const QString cat = "0001 - cat - " + Word("cat").MeaningsLine() + ".mp3";
  const QByteArray id = QByteArray::number(Word("cat").Id);
  EXPECT_EQ(Read(Dated() + cat), "[m" + id + "]<S><I>[e" + id + ".1]<L>");
  EXPECT_EQ(Read(Dated() + "0002 - dog - z.mp3").size(), QByteArray("[m00000]<S>[e00000.0]<L>").size());
  ASSERT_EQ(messages_.boxes.size(), 1u);
  const QStringList lines = MarkupLines(messages_.boxes[0].text);
  ASSERT_EQ(lines.size(), 2) << messages_.boxes[0].text.toStdString();
  EXPECT_EQ(lines[0], MarkupLines(texts_.GetString("IncompleteOutput"))[0]);
  EXPECT_EQ(lines[1].trimmed(), cat);
}

TEST_F(ProdMp3sTest, TheClosingBoxShowsEachNameOnItsOwnLineExactlyAsItIs) {
  // Names the markup would take for runs, attributes, links or breaks.
  const QStringList names{"a~[b", "[x]", "<1>y", "\\n", "0002 - dog - z.mp3"};
  const QStringList lines = MarkupLines(TProdAudio::FileListMarkup(names));
  ASSERT_EQ(lines.size(), names.size()) << lines.join(" | ").toStdString();
  for (qsizetype i = 0; i < names.size(); ++i) {
    QString shown = names[i];
    shown.replace(u'~', QChar(0x223C));
    EXPECT_EQ(lines[i], u' ' + shown);
  }

  // A word holding "~[" in a real run: the box can still be shown, one line a file, and the
  // eleventh file and later are summed up as "...".
  WriteWords({{"a~[b", "x", 11}, {"b", "x", 11}, {"c", "x", 11}, {"d", "x", 11}, {"e", "x", 11}, {"f", "x", 11},
              {"g", "x", 11}, {"h", "x", 11}, {"i", "x", 11}, {"j", "x", 11}, {"k", "x", 11}, {"l", "x", 11}});
  QList<QByteArray> missing;
  for (const auto& word : pack_->WordList().Words()) missing << word->MainSound.Name;
  WriteSounds(missing);
  Producer()->Produce();
  ASSERT_EQ(messages_.boxes.size(), 1u);
  const QStringList shown = MarkupLines(messages_.boxes[0].text);
  ASSERT_EQ(shown.size(), 1 + 10 + 1) << messages_.boxes[0].text.toStdString();
  EXPECT_TRUE(shown[1].startsWith(QString(" 0001 - a") + QChar(0x223C) + "[b - ")) << shown.join(" | ").toStdString();
  EXPECT_EQ(shown.back(), " ...");
  EXPECT_EQ(opened_, QStringList{Dated()});
}

TEST_F(ProdMp3sTest, FolderErrorsReadInTheInterfaceLanguage) {
  WriteWords({{"cat", "x", 11}});
  WriteSounds();
  for (const int language : {0, 1}) {
    SCOPED_TRACE(language);
    texts_.LoadLanguage(static_cast<unsigned char>(language));
    // Today's folder stays: the trash refuses it.
    QDir().mkpath(Dated());
    trashWorks_ = false;
    messages_.answers = {true};
    const QString trash = test::MessageOf([&] { Producer()->Produce(); });
    EXPECT_EQ(trash, TWStr::Format(texts_.GetString("Audio.CannotTrashFolder"), {Dated()}));
    EXPECT_EQ(IsHebrew(trash), language == 0) << trash.toStdString();
    ASSERT_TRUE(QDir(Out()).removeRecursively());

    // The output folder is a file: the dated folder cannot be made.
    QFile blocker(Out());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString create = test::MessageOf([&] { Producer()->Produce(); });
    EXPECT_EQ(create, TWStr::Format(texts_.GetString("Audio.CannotCreateFolder"), {Dated()}));
    EXPECT_EQ(IsHebrew(create), language == 0) << create.toStdString();
    ASSERT_TRUE(QFile::remove(Out()));
  }
  EXPECT_TRUE(runner_.runs.empty());
}

TEST_F(ProdMp3sTest, AFailedWriteJobWritesNoPlayListsAndNoClosingBox) {
  WriteWords({{"cat", "x", 11}});
  WriteSounds();
  struct FailingRunner : IProgressRunner {
    bool RunJob(int, const QString&, const TJob&) override { return false; }
  } failing;
  TProdServices s = Services();
  s.Progress = &failing;
  TProdMp3s p(s, pack_->WordList());
  p.SetWordList(Items());
  p.SetOutputFolder(Out());
  p.Produce();
  EXPECT_TRUE(Tree(Dated()).isEmpty());
  EXPECT_TRUE(messages_.boxes.empty());
  EXPECT_TRUE(opened_.isEmpty());
}

}  // namespace
}  // namespace zabko
