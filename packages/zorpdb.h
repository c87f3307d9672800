// Everything of zorpdb: all of <zorp/zorp.h>, the compressed BLOB fields and
// their stream, the compressed data-aware controls with their registration,
// and the database, table and data source they work with. Installed as
// <zorp/zorpdb.h>, beside the folders it includes from.
#pragma once

#include "zorp.h"

#include "dbcontrols/CBlobStream.h"
#include "dbcontrols/CDBImage.h"
#include "dbcontrols/CDBMemo.h"
#include "dbcontrols/CDBRichEdit.h"
#include "dbcontrols/CompressedFields.h"
#include "dbcontrols/Register.h"
#include "framework/db/DataSource.h"
#include "framework/db/Database.h"
#include "framework/db/SQLiteTable.h"
