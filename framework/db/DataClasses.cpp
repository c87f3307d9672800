#include "framework/db/DataClasses.h"

#include "framework/base/ClassRegistry.h"
#include "framework/db/BlobField.h"
#include "framework/db/DataSource.h"
#include "framework/db/Database.h"
#include "framework/db/Field.h"
#include "framework/db/SQLiteTable.h"

namespace zorp::fw {

void RegisterDataClasses() {
    for (const TComponentClass* componentClass :
         {&ClassOf<TDatabase>(), &ClassOf<TSQLiteTable>(), &ClassOf<TDataSource>(),
          &ClassOf<TStringField>(), &ClassOf<TIntegerField>(), &ClassOf<TFloatField>(),
          &ClassOf<TBlobField>(), &ClassOf<TMemoField>(), &ClassOf<TGraphicField>()})
        RegisterClass(*componentClass);
}

} // namespace zorp::fw
