// The skin's bitmaps from a resource database file.
#pragma once

#include "ui/n_manager.h"

#include <memory>

namespace zabko {

// A bitmap source over the named resource database; a relative name is taken from the program
// folder. A file that cannot be opened fails here.
std::unique_ptr<TNBitmapSource> CreateResBitmapSource(const QString& filename);

}  // namespace zabko
