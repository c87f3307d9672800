// Form files: the text form of a component tree. The root component is
// written as one object block holding its published properties and, nested
// inside it, a block for each component it owns; a field is nested under
// its data set and a control under its parent. Unnamed components and
// components nested under a parent that is not written (a field without a
// data set) are left out. References to other components are written by
// name, and an event bound to a method the form publishes by the method's
// name (TComponent::PublishMethod, BindEvent); an event assigned directly
// in code has no name and is not kept.
//
//   object Form1: TForm
//     Left = 0
//     object Zorp1: TZorp
//       TargetPath = '/tmp/out/'
//       Key = 0
//     end
//   end
#pragma once

#include "Component.h"
#include "Export.h"
#include "Stream.h"

#include <string>

namespace zorp::fw {

/// Writes Root and everything it owns as form text at Stream's position.
ZORP_API void WriteFormText(TStream& Stream, TComponent& Root);
/// Returns Root and everything it owns as form text.
ZORP_API std::string FormToText(TComponent& Root);
/// Writes Root and everything it owns as the form file FileName, creating or
/// replacing it; nothing is created when the text cannot be made.
ZORP_API void SaveFormToFile(const std::string& FileName, TComponent& Root);

/// A string as a form-file value: printable characters in single quotes
// (a quote doubled), other bytes as #<code>; '' for the empty string.
ZORP_API std::string QuoteFormString(const std::string& Value);

} // namespace zorp::fw
