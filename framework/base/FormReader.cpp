#include "framework/base/FormReader.h"

#include "framework/base/ClassRegistry.h"
#include "framework/base/Exceptions.h"
#include "framework/base/FileStream.h"
#include "framework/base/TextUtils.h"

#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

namespace zorp::fw {

namespace {

// Form files are small; anything larger is not one.
constexpr int64_t MaxFormText = 16 * 1024 * 1024;
// Deeper nesting than any form has; it keeps hostile text off the stack.
constexpr int MaxDepth = 64;

enum class TTokenKind { Identifier, Integer, String, Symbol, End };

struct TToken {
    TTokenKind Kind = TTokenKind::End;
    std::string Text; // identifier, symbol or the string's value
    int64_t Value = 0;
    int Line = 1;
};

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Splits form text into identifiers (dotted names included), integers,
// strings ('quoted' pieces and #codes run together) and the symbols : and =.
class TFormLexer {
public:
    explicit TFormLexer(const std::string& Text) : FText(Text) {}

    TToken Next() {
        SkipBlanks();
        TToken token;
        token.Line = FLine;
        if (FPos >= FText.size())
            return token;
        const char c = FText[FPos];
        if (IsLetter(c)) {
            token.Kind = TTokenKind::Identifier;
            token.Text = ReadName();
        } else if (IsDigit(c) || ((c == '-' || c == '+') && IsDigit(Peek(1)))) {
            token.Kind = TTokenKind::Integer;
            token.Value = ReadInteger();
        } else if (c == '\'' || c == '#') {
            token.Kind = TTokenKind::String;
            token.Text = ReadString();
        } else if (c == ':' || c == '=') {
            token.Kind = TTokenKind::Symbol;
            token.Text = std::string(1, c);
            ++FPos;
        } else {
            Fail("Invalid character");
        }
        return token;
    }

    [[noreturn]] void Fail(const std::string& What) const {
        throw EParserError(What + " on line " + std::to_string(FLine));
    }

private:
    char Peek(size_t Ahead) const {
        return FPos + Ahead < FText.size() ? FText[FPos + Ahead] : '\0';
    }

    void SkipBlanks() {
        while (FPos < FText.size()) {
            const char c = FText[FPos];
            if (c == '\n')
                ++FLine;
            else if (c != ' ' && c != '\t' && c != '\r')
                return;
            ++FPos;
        }
    }

    std::string ReadName() {
        const size_t start = FPos;
        while (FPos < FText.size() && (IsLetter(FText[FPos]) || IsDigit(FText[FPos]) ||
                                       (FText[FPos] == '.' && IsLetter(Peek(1)))))
            ++FPos;
        return FText.substr(start, FPos - start);
    }

    int64_t ReadInteger() {
        const bool negative = FText[FPos] == '-';
        if (FText[FPos] == '-' || FText[FPos] == '+')
            ++FPos;
        uint64_t magnitude = 0;
        while (FPos < FText.size() && IsDigit(FText[FPos])) {
            magnitude = magnitude * 10 + static_cast<uint64_t>(FText[FPos] - '0');
            if (magnitude > (uint64_t{1} << 62))
                Fail("Invalid number");
            ++FPos;
        }
        if (FPos < FText.size() && IsLetter(FText[FPos]))
            Fail("Invalid number");
        const auto value = static_cast<int64_t>(magnitude);
        return negative ? -value : value;
    }

    std::string ReadString() {
        std::string value;
        while (FPos < FText.size() && (FText[FPos] == '\'' || FText[FPos] == '#')) {
            if (FText[FPos] == '#') {
                ++FPos;
                int code = 0;
                if (!IsDigit(Peek(0)))
                    Fail("Invalid string");
                while (IsDigit(Peek(0))) {
                    code = code * 10 + (FText[FPos] - '0');
                    if (code > 255)
                        Fail("Invalid string");
                    ++FPos;
                }
                value += static_cast<char>(code);
                continue;
            }
            ++FPos; // opening quote
            for (;;) {
                if (FPos >= FText.size() || FText[FPos] == '\n' || FText[FPos] == '\r')
                    Fail("Unterminated string");
                if (FText[FPos] == '\'') {
                    if (Peek(1) != '\'')
                        break;
                    ++FPos;
                }
                value += FText[FPos++];
            }
            ++FPos; // closing quote
        }
        return value;
    }

    const std::string& FText;
    size_t FPos = 0;
    int FLine = 1;
};

// A component reference to resolve once every block is read.
struct TFixup {
    TComponent* Component;
    TPropertyInfo Property;
    std::string TargetName;
};

class TFormReader {
public:
    TFormReader(const std::string& Text, TComponent& Root) : FLexer(Text), FRoot(Root) {}

    void Read() {
        FRoot.BeginLoading();
        try {
            Advance();
            ReadRootHeader();
            ReadBody(FRoot, 0);
            if (FToken.Kind != TTokenKind::End)
                FLexer.Fail("End of file expected");
            ResolveFixups();
        } catch (...) {
            for (auto it = FCreated.rbegin(); it != FCreated.rend(); ++it)
                delete *it;
            FRoot.EndLoading();
            throw;
        }
        FRoot.EndLoading();
    }

private:
    void Advance() { FToken = FLexer.Next(); }

    bool AtKeyword(const char* Keyword) const {
        return FToken.Kind == TTokenKind::Identifier && SameText(FToken.Text, Keyword);
    }

    std::string ExpectIdentifier() {
        if (FToken.Kind != TTokenKind::Identifier)
            FLexer.Fail("Identifier expected");
        std::string text = FToken.Text;
        Advance();
        return text;
    }

    void ExpectSymbol(const char* Symbol) {
        if (FToken.Kind != TTokenKind::Symbol || FToken.Text != Symbol)
            FLexer.Fail(std::string("'") + Symbol + "' expected");
        Advance();
    }

    // "object <Name>: <Class>" after the keyword.
    void ReadHeader(std::string& Name, std::string& ClassName) {
        if (!AtKeyword("object"))
            FLexer.Fail("'object' expected");
        Advance();
        Name = ExpectIdentifier();
        ExpectSymbol(":");
        ClassName = ExpectIdentifier();
    }

    void ReadRootHeader() {
        std::string name, className;
        ReadHeader(name, className);
        if (!SameText(className, FRoot.ClassName()))
            throw EReadError("Cannot read a " + className + " into a " + FRoot.ClassName());
        FRoot.SetName(name);
    }

    // Properties and nested objects up to the block's "end".
    void ReadBody(TComponent& Component, int Depth) {
        const TPropertyList properties = Component.PublishedProperties();
        for (;;) {
            if (AtKeyword("end")) {
                Advance();
                return;
            }
            if (AtKeyword("object")) {
                ReadChild(Component, Depth + 1);
                continue;
            }
            const int line = FToken.Line;
            const std::string name = ExpectIdentifier();
            ExpectSymbol("=");
            if (FToken.Kind == TTokenKind::End || FToken.Kind == TTokenKind::Symbol)
                FLexer.Fail("Property value expected");
            const TPropertyInfo* info = properties.Find(name);
            if (info == nullptr)
                throw EReadError("Error reading " + Component.Name() + "." + name + ": Property " +
                                 name + " does not exist (line " + std::to_string(line) + ")");
            SetProperty(Component, *info);
            Advance();
        }
    }

    void ReadChild(TComponent& Parent, int Depth) {
        if (Depth > MaxDepth)
            FLexer.Fail("Objects nested too deeply");
        std::string name, className;
        ReadHeader(name, className);
        TComponent* child = FRoot.FindComponent(name);
        if (child == nullptr || !SameText(child->ClassName(), className)) {
            const TComponentClass& componentClass = FindClass(className);
            std::unique_ptr<TComponent> made(componentClass.Create(&FRoot));
            made->SetName(name);
            made->BeginLoading();
            child = made.release(); // owned by the root from here on
            FCreated.push_back(child);
        }
        if (child->HasParent())
            child->SetParentComponent(&Parent);
        ReadBody(*child, Depth);
    }

    [[noreturn]] void InvalidValue(const TComponent& Component, const TPropertyInfo& Info) const {
        throw EReadError("Error reading " + Component.Name() + "." + Info.Name +
                         ": Invalid property value");
    }

    void SetProperty(TComponent& Component, const TPropertyInfo& Info) {
        switch (Info.Kind) {
        case TPropertyKind::Integer:
            if (FToken.Kind != TTokenKind::Integer ||
                FToken.Value < std::numeric_limits<int32_t>::min() ||
                FToken.Value > std::numeric_limits<int32_t>::max())
                InvalidValue(Component, Info);
            Info.SetOrdinal(FToken.Value);
            return;
        case TPropertyKind::Boolean:
            if (AtKeyword("True") || AtKeyword("False"))
                Info.SetOrdinal(AtKeyword("True") ? 1 : 0);
            else
                InvalidValue(Component, Info);
            return;
        case TPropertyKind::Enumeration:
            for (size_t i = 0; i < Info.EnumNames.size(); ++i)
                if (AtKeyword(Info.EnumNames[i].c_str())) {
                    Info.SetOrdinal(static_cast<int64_t>(i));
                    return;
                }
            InvalidValue(Component, Info);
        case TPropertyKind::String:
            if (FToken.Kind != TTokenKind::String)
                InvalidValue(Component, Info);
            Info.SetString(FToken.Text);
            return;
        case TPropertyKind::Event:
            SetEvent(Component, Info);
            return;
        case TPropertyKind::Component:
            if (FToken.Kind != TTokenKind::Identifier)
                InvalidValue(Component, Info);
            // A value set again replaces one still waiting for its target.
            std::erase_if(FFixups, [&](const TFixup& Fixup) {
                return Fixup.Component == &Component && Fixup.Property.Name == Info.Name;
            });
            if (AtKeyword("nil"))
                SetReference(Component, Info, nullptr);
            else if (TComponent* target = FindByName(FToken.Text))
                SetReference(Component, Info, target);
            else
                FFixups.push_back({&Component, Info, FToken.Text});
            return;
        }
    }

    void SetEvent(TComponent& Component, const TPropertyInfo& Info) {
        if (FToken.Kind != TTokenKind::Identifier)
            InvalidValue(Component, Info);
        if (AtKeyword("nil")) {
            Info.SetMethod("", nullptr);
            return;
        }
        const std::any* method = FRoot.FindMethod(FToken.Text);
        if (method == nullptr)
            throw EReadError("Error reading " + Component.Name() + "." + Info.Name + ": Method " +
                             FToken.Text + " not found");
        try {
            Info.SetMethod(FToken.Text, method);
        } catch (const EReadError&) {
            InvalidValue(Component, Info);
        }
    }

    void SetReference(TComponent& Component, const TPropertyInfo& Info, TComponent* Target) {
        try {
            Info.SetComponent(Target);
        } catch (const EReadError&) {
            InvalidValue(Component, Info);
        }
    }

    TComponent* FindByName(const std::string& Name) const {
        if (SameText(Name, FRoot.Name()))
            return &FRoot;
        return FRoot.FindComponent(Name);
    }

    void ResolveFixups() {
        for (TFixup& fixup : FFixups) {
            TComponent* target = FindByName(fixup.TargetName);
            if (target == nullptr)
                throw EReadError("Error reading " + fixup.Component->Name() + "." +
                                 fixup.Property.Name + ": Component " + fixup.TargetName +
                                 " not found");
            SetReference(*fixup.Component, fixup.Property, target);
        }
    }

    TFormLexer FLexer;
    TComponent& FRoot;
    TToken FToken;
    std::vector<TComponent*> FCreated;
    std::vector<TFixup> FFixups;
};

} // namespace

void TextToForm(const std::string& Text, TComponent& Root) {
    TFormReader(Text, Root).Read();
}

void ReadFormText(TStream& Stream, TComponent& Root) {
    const int64_t count = Stream.Size() - Stream.Position();
    if (count > MaxFormText)
        throw EReadError("Form file too large");
    std::string text(static_cast<size_t>(count > 0 ? count : 0), '\0');
    if (!text.empty())
        Stream.ReadBuffer(text.data(), static_cast<int32_t>(text.size()));
    TextToForm(text, Root);
}

void LoadFormFromFile(const std::string& FileName, TComponent& Root) {
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    ReadFormText(file, Root);
}

} // namespace zorp::fw
