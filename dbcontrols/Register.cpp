#include "dbcontrols/Register.h"

#include "dbcontrols/CDBImage.h"
#include "dbcontrols/CDBMemo.h"
#include "dbcontrols/CDBRichEdit.h"
#include "framework/base/ClassRegistry.h"

namespace zorp {

void RegisterDataControls() {
    fw::RegisterComponents("Compress", {&fw::ClassOf<TCDBImage>(), &fw::ClassOf<TCDBMemo>(),
                                        &fw::ClassOf<TCDBRichEdit>()});
}

} // namespace zorp
