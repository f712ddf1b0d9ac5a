#include "audio/mci_sound_file.h"

#include "audio/mpg123_sound_file.h"
#include "platform/mci.h"

#include <utility>

namespace zabko {

namespace {
int g_aliasCounter = 0;
}

TMCISoundFile::TMCISoundFile(QByteArray path, bool deleteAfterUse)
    : TSoundFile(std::move(path), deleteAfterUse), alias_("ZabkolexSound" + QByteArray::number(g_aliasCounter++)) {
  InstallMediaClips();
}

TMCISoundFile::~TMCISoundFile() { CloseFile(); }

void TMCISoundFile::Open() {
  QByteArray quoted = Path();
  if (!quoted.startsWith('"')) quoted.prepend('"');
  if (!quoted.endsWith('"') || quoted.size() == 1) quoted.append('"');
  MciSendString("Open " + quoted + " type mpegvideo Alias " + alias_);
}

void TMCISoundFile::Play() { MciSendString("Play " + alias_ + " From 0"); }

void TMCISoundFile::Close() { MciSendString("Close " + alias_); }

}  // namespace zabko
