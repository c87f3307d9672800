// Reading form files (see FormWriter.h for the text form). The root block
// is read into an existing component of the same class; every nested block
// makes a component of the registered class it names (RegisterClass),
// owned by the root, or reuses a component of that name and class the
// root already owns. Properties are set in the order of the file, each
// nested component is placed under the block that holds it, references
// are resolved by name (a reference to a component further down the file
// once everything is read), events are bound to the methods the root
// publishes, and then every component read runs Loaded.
// While this goes on the components are in the loading state.
//
// Errors raise EParserError for malformed text ("<what> on line <n>"),
// EClassNotFound for an unregistered class, and EReadError for a property
// that does not exist or a value it does not take ("Error reading
// Zorp1.Key: Invalid property value"). Components made by a read that
// fails are freed again.
#pragma once

#include "Component.h"
#include "Export.h"
#include "Stream.h"

#include <string>

namespace zorp::fw {

/// Reads form text from Stream's position to its end into Root; more than
/// 16 MiB of it raises EReadError.
ZORP_API void ReadFormText(TStream& Stream, TComponent& Root);
/// Reads the form text Text into Root.
ZORP_API void TextToForm(const std::string& Text, TComponent& Root);
/// Reads the form file FileName into Root.
ZORP_API void LoadFormFromFile(const std::string& FileName, TComponent& Root);

} // namespace zorp::fw
