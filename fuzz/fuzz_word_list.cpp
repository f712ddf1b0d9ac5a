// Arbitrary bytes as a word database: the load, then every lookup over what was loaded.
#include "core/word_list.h"
#include "platform/exception.h"
#include "platform/stream.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  zabko::TWordList list(zabko::FillWordWithMp3Names);
  try {
    zabko::TMemoryStream stream(bytes);
    list.LoadFromStream(stream);
  } catch (const zabko::Exception&) {
    return 0;
  }
  for (const auto& word : list.Words()) {
    if (!list.FindById(word->Id) || !list.FindByText(word->SearchText)) __builtin_trap();
    word->MeaningsLine();
    word->PickMeaning();
    word->Matches(word->Text);
    for (int k = 0; k < word->SortKeys.Count(); ++k) {
      try {
        list.GetSubjectName(word->SortKeys.Get(k));
        list.GetSubjectAltName(word->SortKeys.Get(k));
      } catch (const zabko::Exception&) {
      }
    }
    if (list.Count() > 1) word->Compare(*list.GetWord(0));
  }
  const zabko::TDataPacket& subjects = list.Subjects();
  for (int level = -1; level <= list.SubjectCounts().PacketCount(); ++level) {
    for (int i = 0; i < subjects.IntegerCount(); ++i) {
      zabko::TSubjectCountList counts;
      list.GetSubjectCounts(level, subjects.GetInteger(i), counts);
    }
  }
  list.RandomWord();
  return 0;
}
