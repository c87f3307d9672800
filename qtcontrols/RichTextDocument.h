// Rich text between the two layers: the headless controls' text with one set
// of attributes per byte, and a QTextDocument of blocks and char formats.
#pragma once

#include "../framework/controls/RichText.h"
#include "Export.h"

#include <cstdint>

class QTextCharFormat;
class QTextDocument;

namespace zorp::qt {

/// The char format that shows Attributes: bold weight, italics and an explicit point size.
ZORPQT_API QTextCharFormat ToCharFormat(const fw::TTextAttributes& Attributes);
/// The attributes a char format keeps: bold for a weight of DemiBold or more, italics, and
/// its point size, or DefaultSize when it has none.
ZORPQT_API fw::TTextAttributes FromCharFormat(const QTextCharFormat& Format, int32_t DefaultSize);

/// Replaces Document's content by Content, as a fresh load (the undo history is cleared):
/// one block per line, each run of equal attributes one fragment. A line break's
/// attributes go to the block separator. Text is UTF-8; a character takes the attributes of
/// its first byte.
ZORPQT_API void ToDocument(const fw::TRichText& Content, QTextDocument& Document);
/// Document's content as the headless controls hold it: its blocks joined by CR LF, which
/// take the block separator's attributes, and each fragment's attributes repeated for every
/// UTF-8 byte of its text. What a format has beyond bold, italics and size is not kept.
ZORPQT_API fw::TRichText FromDocument(const QTextDocument& Document, int32_t DefaultSize);

} // namespace zorp::qt
