#pragma once

#include "../base/Export.h"

namespace zorp::fw {

/// Registers the data-set layer's component classes with the class registry so that form
/// files holding them can be read: TDatabase, TSQLiteTable, TDataSource and the field
/// classes. Calling it again is harmless.
ZORP_API void RegisterDataClasses();

} // namespace zorp::fw
