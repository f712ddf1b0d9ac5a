#include "learn/views/view_host.h"

#include "core/zabkolex_strings.h"
#include "net/zabkolex_central.h"

namespace zabko {

QString ViewText(const QString& key) { return Central().Strings().GetString(key); }

}  // namespace zabko
