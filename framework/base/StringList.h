// TStrings: an abstract list of lines, each with an optional attached object
// (not owned: whoever attached it frees it). TStringList keeps them in memory.
// Lines are compared case-insensitively (ASCII). As text, lines end with
// CR LF; reading accepts CR LF, LF or CR.
#pragma once

#include "Export.h"
#include "Object.h"

#include <cstddef>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace zorp::fw {

class TStream;
class TStrings;

// Walks the lines of a TStrings from the first to the last, handing out each
// line by value: for (const std::string& Line : List). The list must not
// change while it is walked.
class ZORP_API TStringsIterator {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = std::string;
    using difference_type = std::ptrdiff_t;
    using reference = std::string;
    using pointer = void;

    TStringsIterator() = default;
    TStringsIterator(const TStrings* Strings, int Index) : FStrings(Strings), FIndex(Index) {}

    std::string operator*() const;
    TStringsIterator& operator++() {
        ++FIndex;
        return *this;
    }
    TStringsIterator operator++(int) {
        TStringsIterator before = *this;
        ++FIndex;
        return before;
    }
    bool operator==(const TStringsIterator& Other) const = default;

private:
    const TStrings* FStrings = nullptr;
    int FIndex = 0;
};

inline constexpr const char* sLineBreak = "\r\n";

class ZORP_API TStrings : public TObject {
public:
    virtual int Count() const = 0;
    virtual std::string Get(int Index) const = 0;
    virtual void Put(int Index, const std::string& S) = 0;
    virtual TObject* GetObject(int Index) const = 0;
    virtual void PutObject(int Index, TObject* AObject) = 0;
    virtual void Insert(int Index, const std::string& S) = 0;
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;

    std::string Strings(int Index) const { return Get(Index); }
    TObject* Objects(int Index) const { return GetObject(Index); }

    int Add(const std::string& S);
    int AddObject(const std::string& S, TObject* AObject);
    void InsertObject(int Index, const std::string& S, TObject* AObject);
    void AddStrings(const TStrings& Strings);
    // Index of the first line equal to S ignoring case, or -1.
    int IndexOf(const std::string& S) const;
    // Replaces the lines (and attached objects) with those of Source.
    virtual void Assign(const TStrings& Source);

    // The lines, for range-for and the standard algorithms.
    TStringsIterator begin() const { return {this, 0}; }
    TStringsIterator end() const { return {this, Count()}; }

    // All lines, each followed by a line break.
    std::string Text() const;
    virtual void SetText(const std::string& Value);

    virtual void SaveToStream(TStream& Stream) const;
    // Replaces the lines with the text from the stream's position to its end.
    virtual void LoadFromStream(TStream& Stream);
    void SaveToFile(const std::string& FileName) const;
    void LoadFromFile(const std::string& FileName);
};

inline std::string TStringsIterator::operator*() const {
    return FStrings->Get(FIndex);
}

class ZORP_API TStringList : public TStrings {
public:
    TStringList() = default;
    TStringList(std::initializer_list<std::string> Lines);

    int Count() const override { return static_cast<int>(FItems.size()); }
    std::string Get(int Index) const override;
    void Put(int Index, const std::string& S) override;
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* AObject) override;
    void Insert(int Index, const std::string& S) override;
    void Delete(int Index) override;
    void Clear() override { FItems.clear(); }

private:
    void CheckIndex(int Index, int Limit) const;

    std::vector<std::pair<std::string, TObject*>> FItems;
};

} // namespace zorp::fw
