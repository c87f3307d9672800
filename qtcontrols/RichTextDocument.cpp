#include "qtcontrols/RichTextDocument.h"

#include <QFont>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <cmath>

namespace zorp::qt {

namespace {

bool ContinuesCharacter(char Byte) {
    return (static_cast<unsigned char>(Byte) & 0xC0) == 0x80;
}

// Inserts the bytes [Begin, End) of one line, a fragment for each run of
// equal attributes; runs break only between UTF-8 characters.
void InsertLine(QTextCursor& Cursor, const fw::TRichText& Content, size_t Begin, size_t End) {
    size_t run = Begin;
    while (run < End) {
        const fw::TTextAttributes& attributes = Content.Attributes[run];
        size_t next = run + 1;
        while (next < End &&
               (ContinuesCharacter(Content.Text[next]) || Content.Attributes[next] == attributes))
            ++next;
        Cursor.insertText(
            QString::fromUtf8(Content.Text.data() + run, static_cast<qsizetype>(next - run)),
            ToCharFormat(attributes));
        run = next;
    }
}

void Append(fw::TRichText& Content, const QString& Text, const fw::TTextAttributes& Attributes) {
    const QByteArray utf8 = Text.toUtf8();
    Content.Text.append(utf8.constData(), static_cast<size_t>(utf8.size()));
    Content.Attributes.insert(Content.Attributes.end(), static_cast<size_t>(utf8.size()),
                              Attributes);
}

} // namespace

QTextCharFormat ToCharFormat(const fw::TTextAttributes& Attributes) {
    QTextCharFormat format;
    format.setFontWeight(Attributes.Bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(Attributes.Italic);
    format.setFontPointSize(Attributes.Size);
    return format;
}

fw::TTextAttributes FromCharFormat(const QTextCharFormat& Format, int32_t DefaultSize) {
    fw::TTextAttributes attributes;
    attributes.Bold = Format.fontWeight() >= QFont::DemiBold;
    attributes.Italic = Format.fontItalic();
    attributes.Size = Format.hasProperty(QTextFormat::FontPointSize)
                          ? static_cast<int32_t>(std::lround(Format.fontPointSize()))
                          : DefaultSize;
    return attributes;
}

void ToDocument(const fw::TRichText& Content, QTextDocument& Document) {
    const bool undo = Document.isUndoRedoEnabled();
    Document.setUndoRedoEnabled(false);
    Document.clear();
    QTextCursor cursor(&Document);
    const std::string& text = Content.Text;
    size_t line = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        InsertLine(cursor, Content, line, i);
        cursor.insertBlock(cursor.blockFormat(), ToCharFormat(Content.Attributes[i]));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i; // one break
        line = i + 1;
    }
    InsertLine(cursor, Content, line, text.size());
    Document.setUndoRedoEnabled(undo);
}

fw::TRichText FromDocument(const QTextDocument& Document, int32_t DefaultSize) {
    fw::TRichText content;
    for (QTextBlock block = Document.begin(); block.isValid(); block = block.next()) {
        if (block != Document.begin())
            Append(content, QStringLiteral("\r\n"),
                   FromCharFormat(block.charFormat(), DefaultSize));
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            // A line break within a block is a line break; an embedded object is not kept.
            QString text = fragment.text();
            text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
            text.remove(QChar::ObjectReplacementCharacter);
            Append(content, text, FromCharFormat(fragment.charFormat(), DefaultSize));
        }
    }
    return content;
}

} // namespace zorp::qt
