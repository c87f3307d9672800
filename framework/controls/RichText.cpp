#include "framework/controls/RichText.h"

#include <cctype>
#include <cstdlib>
#include <set>

namespace zorp::fw {

namespace {

const char* const Hex = "0123456789abcdef";

// The control words that switch From to To; all of them when Force.
void WriteChange(std::string& Out, const TTextAttributes& From, const TTextAttributes& To,
                 bool Force) {
    if (From == To && !Force)
        return;
    if (Force || From.Bold != To.Bold)
        Out += To.Bold ? "\\b" : "\\b0";
    if (Force || From.Italic != To.Italic)
        Out += To.Italic ? "\\i" : "\\i0";
    if (Force || From.Size != To.Size)
        Out += "\\fs" + std::to_string(To.Size * 2);
    Out += ' ';
}

// Destinations whose contents are not text.
bool IsSkippedDestination(const std::string& Word) {
    static const std::set<std::string> Skipped{"fonttbl",
                                               "colortbl",
                                               "stylesheet",
                                               "info",
                                               "pict",
                                               "header",
                                               "footer",
                                               "headerl",
                                               "headerr",
                                               "headerf",
                                               "footerl",
                                               "footerr",
                                               "footerf",
                                               "footnote",
                                               "object",
                                               "listtable",
                                               "listoverridetable",
                                               "rsidtbl",
                                               "generator",
                                               "filetbl",
                                               "revtbl",
                                               "themedata",
                                               "colorschememapping",
                                               "latentstyles",
                                               "datastore",
                                               "xmlnstbl",
                                               "pntext",
                                               "fldinst",
                                               "bkmkstart",
                                               "bkmkend",
                                               "field",
                                               "shp",
                                               "nonshppict"};
    return Skipped.count(Word) != 0;
}

struct TGroupState {
    TTextAttributes Attributes;
    bool Skip = false;
    int32_t UnicodeSkip = 1;
};

class TRtfReader {
public:
    TRtfReader(const std::string& Rtf, const TTextAttributes& Default)
        : FRtf(Rtf), FDefault(Default) {
        FState.Attributes = Default;
    }

    TRichText Read() {
        bool started = false;
        while (FPos < FRtf.size()) {
            const char c = FRtf[FPos++];
            if (c == '{') {
                FStack.push_back(FState);
                started = true;
            } else if (c == '}') {
                if (FStack.empty())
                    break;
                FState = FStack.back();
                FStack.pop_back();
                if (FStack.empty() && started)
                    break;
            } else if (c == '\\') {
                ControlSymbol();
            } else if (c != '\r' && c != '\n') {
                Emit(c);
            }
        }
        return std::move(FResult);
    }

private:
    void Emit(char Ch) {
        if (FState.Skip)
            return;
        if (FPendingSkip > 0) {
            --FPendingSkip;
            return;
        }
        FResult.Text += Ch;
        FResult.Attributes.push_back(FState.Attributes);
    }

    void EmitBreak() {
        if (FState.Skip)
            return;
        FPendingSkip = 0;
        Emit('\r');
        Emit('\n');
    }

    static int HexValue(char Ch) {
        if (Ch >= '0' && Ch <= '9')
            return Ch - '0';
        if (Ch >= 'a' && Ch <= 'f')
            return Ch - 'a' + 10;
        if (Ch >= 'A' && Ch <= 'F')
            return Ch - 'A' + 10;
        return -1;
    }

    void ControlSymbol() {
        if (FPos >= FRtf.size())
            return;
        const char c = FRtf[FPos];
        if (std::isalpha(static_cast<unsigned char>(c))) {
            ControlWord();
            return;
        }
        ++FPos;
        switch (c) {
        case '\\':
        case '{':
        case '}':
            Emit(c);
            break;
        case '~':
            Emit(' ');
            break;
        case '_':
            Emit('-');
            break;
        case '*':
            FState.Skip = true;
            break;
        case '\r':
        case '\n':
            EmitBreak();
            break;
        case '\'': {
            const int high = FPos < FRtf.size() ? HexValue(FRtf[FPos]) : -1;
            const int low = FPos + 1 < FRtf.size() ? HexValue(FRtf[FPos + 1]) : -1;
            if (high >= 0 && low >= 0) {
                FPos += 2;
                Emit(static_cast<char>(high * 16 + low));
            }
            break;
        }
        default:
            break; // \- (optional hyphen) and unknown symbols
        }
    }

    void ControlWord() {
        std::string word;
        while (FPos < FRtf.size() && std::isalpha(static_cast<unsigned char>(FRtf[FPos])))
            word += FRtf[FPos++];
        bool hasParam = false;
        bool negative = false;
        int64_t param = 0;
        if (FPos < FRtf.size() && FRtf[FPos] == '-' && FPos + 1 < FRtf.size() &&
            std::isdigit(static_cast<unsigned char>(FRtf[FPos + 1]))) {
            negative = true;
            ++FPos;
        }
        while (FPos < FRtf.size() && std::isdigit(static_cast<unsigned char>(FRtf[FPos]))) {
            hasParam = true;
            if (param < 100000000)
                param = param * 10 + (FRtf[FPos] - '0');
            ++FPos;
        }
        if (negative)
            param = -param;
        if (FPos < FRtf.size() && FRtf[FPos] == ' ')
            ++FPos;
        Apply(word, hasParam, param);
    }

    void Apply(const std::string& Word, bool HasParam, int64_t Param) {
        if (Word == "par" || Word == "line") {
            EmitBreak();
        } else if (Word == "tab") {
            Emit('\t');
        } else if (Word == "b") {
            FState.Attributes.Bold = !HasParam || Param != 0;
        } else if (Word == "i") {
            FState.Attributes.Italic = !HasParam || Param != 0;
        } else if (Word == "fs") {
            if (HasParam && Param >= 2)
                FState.Attributes.Size = static_cast<int32_t>(Param / 2);
        } else if (Word == "plain") {
            FState.Attributes = FDefault;
        } else if (Word == "uc") {
            if (HasParam && Param >= 0)
                FState.UnicodeSkip = static_cast<int32_t>(Param);
        } else if (Word == "u") {
            const int64_t code = Param < 0 ? Param + 65536 : Param;
            Emit(code >= 0 && code <= 255 ? static_cast<char>(code) : '?');
            if (!FState.Skip)
                FPendingSkip = FState.UnicodeSkip;
        } else if (IsSkippedDestination(Word)) {
            FState.Skip = true;
        }
    }

    const std::string& FRtf;
    const TTextAttributes FDefault;
    size_t FPos = 0;
    TGroupState FState;
    std::vector<TGroupState> FStack;
    int32_t FPendingSkip = 0;
    TRichText FResult;
};

} // namespace

bool IsRichText(const std::string& Data) {
    size_t i = 0;
    while (i < Data.size() && std::isspace(static_cast<unsigned char>(Data[i])))
        ++i;
    return Data.compare(i, 5, "{\\rtf") == 0;
}

std::string WriteRichText(const TRichText& Text, const std::string& FontName) {
    std::string out = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil " + FontName + ";}}";
    out += "\r\n";
    // The first character states every attribute, so that the reader's
    // default does not matter.
    TTextAttributes current;
    bool first = true;
    const std::string& text = Text.Text;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const TTextAttributes& wanted =
            i < Text.Attributes.size() ? Text.Attributes[i] : TTextAttributes{};
        WriteChange(out, current, wanted, first);
        current = wanted;
        first = false;
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += "\\par\r\n";
            continue;
        }
        const auto u = static_cast<unsigned char>(c);
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += c;
        } else if (c == '\t') {
            out += "\\tab ";
        } else if (u < 0x20 || u >= 0x7F) {
            out += "\\'";
            out += Hex[u >> 4];
            out += Hex[u & 0x0F];
        } else {
            out += c;
        }
    }
    out += "}";
    return out;
}

TRichText ReadRichText(const std::string& Rtf, const TTextAttributes& Default) {
    return TRtfReader(Rtf, Default).Read();
}

} // namespace zorp::fw
