// The GUI text table: every text the programs show, as key=value entries loaded from a text pack
// compiled into the program (or a loose file of the same name beside it).
//
// Text-pack syntax: a line "Key: 'text' + 'more text'" makes the entry Key=textmore text (the
// value is split at every "+", each piece trimmed of blanks and of one quote at each end). A line
// starting with "{" opens a block joined with " + " up to a line starting with "}". Empty lines and
// lines whose first character is "#" are comments. The encoding is told by the mark: FF FE UTF-16
// little-endian, FE FF big-endian, EF BB BF UTF-8; without one, 8-bit text in the system code page.
#pragma once

#include "platform/stream.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace zabko {

class TZabkolexStrings {
 public:
  struct Entry {
    QString key;
    QString value;
  };

  // PreferFile: read a loose pack file of the pack's name in LooseDir (default: the program
  // folder) when it exists, instead of the compiled-in pack (see TRCOrFileStream).
  explicit TZabkolexStrings(bool preferFile = false, const QString& looseDir = QString())
      : preferFile_(preferFile), looseDir_(looseDir) {}

  // 0 loads "Hebrew.GUI.txt", 1 "English.GUI.txt"; another number fails with "Unknown GUI
  // Language". Every failure is raised again as "Failed loading strings file. Reason: " + its
  // message.
  void LoadLanguage(unsigned char language);
  // Loads a pack, then appends the entry VersionNumber=2.3.
  void Load(const QString& packName);
  // Reads a pack without the version entry.
  void LoadResource(const QString& packName);
  // Replaces every entry by the pack's; PackName names the pack in errors. Fails with
  // "Missing ":" in: " + line, or "Unclosed block in text pack " + PackName.
  void LoadFromStream(TStream& stream, const QString& packName = QString());
  // Lays another pack over this table: each of its entries replaces the first entry of its key
  // or is appended; an empty value removes the key.
  void MergeFile(const QString& packName);

  // The value of the first entry whose key matches without regard to case; a missing key or an
  // empty value fails with "Invalid string for: " + Key.
  QString GetString(const QString& key) const;
  // Whether an entry of that key exists, empty or not.
  bool HasString(const QString& key) const { return IndexOf(key) >= 0; }

  const std::vector<Entry>& Entries() const { return entries_; }
  // The entry of one pack line ("Key: 'a' + 'b'"); fails with "Missing ":" in: " + Line.
  static Entry ParseLine(const QString& line);
  // The pack's lines, decoded by its mark, blocks joined and comments left out.
  static QStringList PackLines(const QByteArray& bytes, const QString& packName);

 private:
  int IndexOf(const QString& key) const;
  void SetValue(const QString& key, const QString& value);

  bool preferFile_;
  QString looseDir_;
  std::vector<Entry> entries_;
};

// The file names of the stored packs.
inline constexpr const char* kHebrewGuiPack = "Hebrew.GUI.txt";
inline constexpr const char* kEnglishGuiPack = "English.GUI.txt";
inline constexpr const char* kGameHebrewGuiPack = "Game.Hebrew.GUI.txt";

}  // namespace zabko
