#include "core/integer_list.h"

namespace zabko {

void TIntegerList::Assign(const TAbstractDataPacket* source) {
  if (!source) {
    Clear();
    return;
  }
  if (source == packet_.get()) return;
  packet_->Assign(*source);
}

}  // namespace zabko
