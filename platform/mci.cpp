#include "platform/mci.h"

#include "platform/exception.h"
#include "platform/media_clip.h"

#include <QList>

#include <map>
#include <memory>

namespace zabko {

namespace {

// Aliases compare without case.
struct Caseless {
  bool operator()(const QByteArray& a, const QByteArray& b) const { return qstricmp(a.constData(), b.constData()) < 0; }
};

std::map<QByteArray, std::unique_ptr<TMediaClip>, Caseless>& Devices() {
  static std::map<QByteArray, std::unique_ptr<TMediaClip>, Caseless> devices;
  return devices;
}

// Splits a command into words; a double-quoted word may hold blanks.
QList<QByteArray> Words(const QByteArray& command) {
  QList<QByteArray> words;
  qsizetype i = 0;
  while (i < command.size()) {
    while (i < command.size() && command[i] == ' ') ++i;
    if (i >= command.size()) break;
    if (command[i] == '"') {
      const qsizetype end = command.indexOf('"', i + 1);
      const qsizetype stop = end < 0 ? command.size() : end;
      words.append(command.mid(i + 1, stop - i - 1));
      i = stop + 1;
    } else {
      qsizetype end = command.indexOf(' ', i);
      if (end < 0) end = command.size();
      words.append(command.mid(i, end - i));
      i = end;
    }
  }
  return words;
}

bool Is(const QByteArray& word, const char* keyword) { return qstricmp(word.constData(), keyword) == 0; }

int Open(const QList<QByteArray>& words) {
  if (words.size() < 2) return mci_result::kMissingParameter;
  QByteArray alias = words[1];
  for (qsizetype i = 2; i + 1 < words.size(); i += 2) {
    if (Is(words[i], "alias")) alias = words[i + 1];
  }
  auto& devices = Devices();
  if (devices.count(alias)) return mci_result::kDuplicateAlias;
  try {
    devices[alias] = OpenMediaClip(words[1]);
  } catch (const Exception&) {
    return mci_result::kFileNotFound;
  }
  return mci_result::kNoError;
}

}  // namespace

int MciSendString(const QByteArray& command) {
  const QList<QByteArray> words = Words(command);
  if (words.isEmpty()) return mci_result::kUnrecognizedCommand;
  const QByteArray& verb = words[0];
  if (Is(verb, "open")) return Open(words);
  if (words.size() < 2) return mci_result::kMissingParameter;
  auto& devices = Devices();
  if (Is(verb, "close") && Is(words[1], "all")) {
    devices.clear();
    return mci_result::kNoError;
  }
  const auto it = devices.find(words[1]);
  if (it == devices.end()) return mci_result::kInvalidDeviceName;
  try {
    if (Is(verb, "play")) {
      it->second->Play();  // "from <position>": every play here starts at the beginning
    } else if (Is(verb, "stop")) {
      it->second->Stop();
    } else if (Is(verb, "close")) {
      devices.erase(it);
    } else {
      return mci_result::kUnrecognizedCommand;
    }
  } catch (const Exception&) {
    return mci_result::kHardware;
  }
  return mci_result::kNoError;
}

bool MciIsOpen(const QByteArray& alias) { return Devices().count(alias) != 0; }

}  // namespace zabko
