// Everything of zorpcore: the component TZorp with its records, types and
// exceptions, and the framework's streams (with the adapters to standard
// streams and the read-only stream over bytes in memory) and string lists
// its operations take. Installed as <zorp/zorp.h>, beside the folders it
// includes from.
#pragma once

#include "common/Errors.h"
#include "common/MethodNames.h"
#include "common/ZorpTypes.h"
#include "component/FileInfo.h"
#include "component/Headers.h"
#include "component/StreamIdentity.h"
#include "component/Zorp.h"
#include "framework/base/FileStream.h"
#include "framework/base/MemoryStream.h"
#include "framework/base/ReadOnlyMemoryStream.h"
#include "framework/base/ResourceStream.h"
#include "framework/base/StdStreams.h"
#include "framework/base/Stream.h"
#include "framework/base/StringList.h"

/// The library's public API: the compression component TZorp, its records,
/// method and event types and exceptions, the compressed database fields and
/// the data-aware controls.
namespace zorp {}

/// The framework the component and the controls are built on: streams,
/// files, string lists, components and their registry, the data-set layer
/// over SQLite, and a headless control layer.
namespace zorp::fw {}
