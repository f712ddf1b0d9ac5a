#include "net/db_handler.h"

namespace zabko {

void TDBHandler::LoadFromFile(const QString& fileName) { data_.LoadFromFile(fileName, true); }

qint32 TDBHandler::LocalDataCount() const {
  return data_.IntegerCount() > 0 ? data_.GetInteger(0) : -1;
}

}  // namespace zabko
