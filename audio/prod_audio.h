// MP3 and CD production: a chosen set of words written as MP3 files, each word's pronunciation,
// then its meanings' pronunciations, separated and followed by fixed silences, all taken as raw
// MP3 data from the sound resource databases and concatenated. Everything goes into a folder
// named after the day below the chosen output folder.
//
// TProdMp3s writes one file per word ("0001 - word - meanings.mp3"), optionally in numbered group
// folders ("01 - A"), with two play lists. TProdCD packs consecutive words into numbered tracks
// ("Track 01.mp3") and, when one disc is not enough, deals them into "CD n" folders; the user
// burns each folder as an audio CD. Sizes are counted in the unit of the sound records' Length
// figures, milliseconds: 4,380,000 is 73 minutes.
//
// A production object serves one run. It takes everything it works with as arguments (resource
// manager, word list, pack, texts, clock, windows) and reaches no global object.
#pragma once

#include "core/date_time.h"
#include "core/language_pack.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace zabko {

class IMessageService;
class IProgressRunner;
class TAppTypeSpecific;
class TResManager;
class TWord;
class TWordList;
class TZabkolexStrings;

// What a production run works with besides its words.
struct TProdServices {
  TResManager* ResManager = nullptr;
  // Sorting in the language's order and the letter groups.
  const TLanguagePack* Pack = nullptr;
  const TZabkolexStrings* Texts = nullptr;
  const TAppTypeSpecific* AppType = nullptr;
  IProgressRunner* Progress = nullptr;
  IMessageService* Messages = nullptr;
  // The local date and time; the dated folder is named after it.
  std::function<TDateTime()> Clock;
  // Moves an old dated folder to the trash; true on success. Default TFile::DeleteFolder.
  std::function<bool(const QString& folder)> TrashFolder;
  // Opens the finished folder for the user. Default TFile::ShellOpen.
  std::function<void(const QString& folder)> OpenFolder;
};

// One output file and the words written into it, in order.
class TMp3File {
 public:
  std::vector<TWord*> Words;  // not owned
  // The sum over its words of the main sound's Length and the extra sounds' lengths.
  qint64 Duration = 0;
  // The path relative to the dated folder: a group folder and "/", or nothing, then the file name.
  QString Name;

  void AddWord(TWord* word);
};

// The cost of writing a word: its sounds' lengths plus the silences every word gets.
inline constexpr qint64 kWordSilenceCost = 4573;
// A disc while tracks are filled (a word may join while the disc stays at or below this) and
// when tracks are dealt into discs.
inline constexpr qint64 kDiscFillCapacity = 4379999;
inline constexpr qint64 kDiscSplitCapacity = 4380000;
// The most tracks an audio CD holds.
inline constexpr int kMaxTracksPerDisc = 99;
// The longest file name the file system takes, in bytes.
inline constexpr int kMaxFileNameBytes = 255;

// A file or folder name made safe: the characters a file name cannot hold and control characters
// dropped, then cut at a character boundary so that its UTF-8 form with Suffix fits 255 bytes.
QString SafeOutputName(const QString& name, const QString& suffix = QString());

class TProdAudio {
 public:
  enum TSortKind : int { kLanguageOrder = 0, kSubjectOrder = 1 };

  explicit TProdAudio(TProdServices services);
  virtual ~TProdAudio();
  TProdAudio(const TProdAudio&) = delete;
  TProdAudio& operator=(const TProdAudio&) = delete;

  // The words to write: item texts as the dialog lists them (headwords), each with its word.
  void SetWordList(const TWordItemList& words) { wordList_ = words; }
  void SetSortKind(int kind) { sortKind_ = kind; }
  // Output folder := Folder; the dated folder := Folder + "/" + the day as "d-mm-yyyy" + "/".
  void SetOutputFolder(const QString& folder);

  virtual void Produce() = 0;

  // File names as lines of the closing box's markup, each shown exactly as it is.
  static QString FileListMarkup(const QStringList& names);

  const QString& OutputFolder() const { return outputFolder_; }
  const QString& DatedFolder() const { return datedFolder_; }
  const std::vector<std::unique_ptr<TMp3File>>& Files() const { return files_; }
  // Relative folder names below the dated folder, in the order they were made.
  const QStringList& GroupFolders() const { return groupFolders_; }

 protected:
  // Asks before replacing today's folder and makes it. False when there is no output folder or
  // the user keeps the old one. A folder that cannot be trashed or made fails with an exception
  // naming it, before anything is written.
  bool PrepareOutputFolder();
  // A copy of the word list in the language's order (sort kind 0) or by subject.
  TWordItemList PrepareWords() const;
  // Makes every group folder below the dated folder; fails naming the first that cannot be made.
  void CreateGroupFolders();
  // Writes every file in the progress window. False when the window's job did not complete.
  bool WriteFiles();
  // The closing box under Caption, then the dated folder opened.
  void Finish(const QString& captionKey);
  QString Text(const QString& key) const;

  TProdServices services_;
  TWordItemList wordList_;
  std::vector<std::unique_ptr<TMp3File>> files_;
  QString outputFolder_;
  QString datedFolder_;
  int sortKind_ = kLanguageOrder;
  QStringList groupFolders_;

 private:
  // Names of the files that lack a sound or could not be written, for the closing box.
  QStringList incomplete_;
};

// One file per word, in the dated folder or in group folders, with two play lists.
class TProdMp3s : public TProdAudio {
 public:
  // Subject names for the group folders come from SubjectWords.
  TProdMp3s(TProdServices services, const TWordList& subjectWords);

  void SetSubFolders(bool subFolders) { subFolders_ = subFolders; }
  // Files are named with the word's other text alone, without the meanings.
  void SetNoMeanings(bool noMeanings) { noMeanings_ = noMeanings; }

  void Produce() override;

  // The steps of Produce, open for tests.
  void BuildFiles(const TWordItemList& sortedWords);
  // The group folder of a word, with a trailing "/", or empty for the dated folder itself.
  QString GroupFolder(const TWord& word);
  void WritePlayLists();

 private:
  void WritePlayList(const std::vector<const TMp3File*>& order, const QString& nameKey);

  const TWordList& subjectWords_;
  bool subFolders_ = false;
  bool noMeanings_ = false;
};

// Numbered tracks of several words, split into "CD n" folders when one disc is not enough.
class TProdCD : public TProdAudio {
 public:
  explicit TProdCD(TProdServices services) : TProdAudio(std::move(services)) {}

  // 0 one track per group (letter or subject); 1..5 five, 10, 20, 30 or 40 words a track.
  void SetTracksBy(int tracksBy) { tracksBy_ = tracksBy; }

  void Produce() override;

  // The steps of Produce, open for tests.
  void BuildTracks(const TWordItemList& sortedWords);
  int WordsPerTrack() const;
  bool SameGroup(const TWord& previous, const TWord& next) const;
  static qint64 WordCost(const TWord& word);
  static qint64 TrackCost(const TMp3File& track);

 private:
  // Moves words from the front of Remaining into Track while the disc, the word count and the
  // group allow. Total is the fill of the current disc.
  void FillTrack(TMp3File& track, const TWordItemList& remaining, qsizetype& next, qint64& total);
  void AssignNames();

  int tracksBy_ = 0;
};

}  // namespace zabko
