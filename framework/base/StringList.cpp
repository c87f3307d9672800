#include "framework/base/StringList.h"

#include "framework/base/Exceptions.h"
#include "framework/base/FileStream.h"
#include "framework/base/TextUtils.h"

#include <algorithm>
#include <limits>

namespace zorp::fw {

int TStrings::Add(const std::string& S) {
    const int index = Count();
    Insert(index, S);
    return index;
}

int TStrings::AddObject(const std::string& S, TObject* AObject) {
    const int index = Add(S);
    PutObject(index, AObject);
    return index;
}

void TStrings::InsertObject(int Index, const std::string& S, TObject* AObject) {
    Insert(Index, S);
    PutObject(Index, AObject);
}

void TStrings::AddStrings(const TStrings& Strings) {
    const int n = Strings.Count();
    for (int i = 0; i < n; ++i)
        AddObject(Strings.Get(i), Strings.GetObject(i));
}

int TStrings::IndexOf(const std::string& S) const {
    const int n = Count();
    for (int i = 0; i < n; ++i)
        if (SameText(Get(i), S))
            return i;
    return -1;
}

void TStrings::Assign(const TStrings& Source) {
    if (&Source == this)
        return;
    Clear();
    AddStrings(Source);
}

std::string TStrings::Text() const {
    std::string text;
    const int n = Count();
    for (int i = 0; i < n; ++i) {
        text += Get(i);
        text += sLineBreak;
    }
    return text;
}

void TStrings::SetText(const std::string& Value) {
    Clear();
    size_t start = 0;
    while (start < Value.size()) {
        size_t end = start;
        while (end < Value.size() && Value[end] != '\r' && Value[end] != '\n')
            ++end;
        Add(Value.substr(start, end - start));
        if (end < Value.size() && Value[end] == '\r')
            ++end;
        if (end < Value.size() && Value[end] == '\n')
            ++end;
        start = end;
    }
}

void TStrings::SaveToStream(TStream& Stream) const {
    const std::string text = Text();
    if (text.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        throw EWriteError("Stream write error");
    Stream.WriteBuffer(text.data(), static_cast<int32_t>(text.size()));
}

void TStrings::LoadFromStream(TStream& Stream) {
    const int64_t left = Stream.Size() - Stream.Position();
    if (left > std::numeric_limits<int32_t>::max())
        throw EReadError("Stream read error");
    std::string text(static_cast<size_t>(std::max<int64_t>(left, 0)), '\0');
    Stream.ReadBuffer(text.data(), static_cast<int32_t>(text.size()));
    SetText(text);
}

void TStrings::SaveToFile(const std::string& FileName) const {
    TFileStream file(FileName, fmCreate);
    SaveToStream(file);
}

void TStrings::LoadFromFile(const std::string& FileName) {
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

TStringList::TStringList(std::initializer_list<std::string> Lines) {
    for (const std::string& line : Lines)
        Add(line);
}

void TStringList::CheckIndex(int Index, int Limit) const {
    if (Index < 0 || Index >= Limit)
        throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

std::string TStringList::Get(int Index) const {
    CheckIndex(Index, Count());
    return FItems[static_cast<size_t>(Index)].first;
}

void TStringList::Put(int Index, const std::string& S) {
    CheckIndex(Index, Count());
    FItems[static_cast<size_t>(Index)].first = S;
}

TObject* TStringList::GetObject(int Index) const {
    CheckIndex(Index, Count());
    return FItems[static_cast<size_t>(Index)].second;
}

void TStringList::PutObject(int Index, TObject* AObject) {
    CheckIndex(Index, Count());
    FItems[static_cast<size_t>(Index)].second = AObject;
}

void TStringList::Insert(int Index, const std::string& S) {
    CheckIndex(Index, Count() + 1);
    FItems.insert(FItems.begin() + Index, {S, nullptr});
}

void TStringList::Delete(int Index) {
    CheckIndex(Index, Count());
    FItems.erase(FItems.begin() + Index);
}

} // namespace zorp::fw
