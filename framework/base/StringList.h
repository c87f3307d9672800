// Lists of lines: the abstract TStrings and TStringList, which keeps them in
// memory.
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

/// Walks the lines of a TStrings from the first to the last, handing out each
/// line by value: for (const std::string& Line : List). The list must not
/// change while it is walked.
class ZORP_API TStringsIterator {
public:
    /// The standard iterator traits: an input iterator whose lines are handed
    /// out as std::string values.
    /// @{
    using iterator_category = std::input_iterator_tag;
    using value_type = std::string;
    using difference_type = std::ptrdiff_t;
    using reference = std::string;
    using pointer = void;
    /// @}

    /// An iterator over no list.
    TStringsIterator() = default;
    /// An iterator at line Index of Strings (Count() for the end).
    TStringsIterator(const TStrings* Strings, int Index) : FStrings(Strings), FIndex(Index) {}

    /// Returns a copy of the current line.
    std::string operator*() const;
    /// Moves to the next line (prefix and postfix).
    /// @{
    TStringsIterator& operator++() {
        ++FIndex;
        return *this;
    }
    TStringsIterator operator++(int) {
        TStringsIterator before = *this;
        ++FIndex;
        return before;
    }
    /// @}
    /// True when both stand at the same line of the same list.
    bool operator==(const TStringsIterator& Other) const = default;

private:
    const TStrings* FStrings = nullptr;
    int FIndex = 0;
};

/// The line break that ends each line of a list's text: CR LF.
inline constexpr const char* sLineBreak = "\r\n";

/// An abstract list of lines, each with an optional attached object (not
/// owned: whoever attached it frees it). Lines are compared
/// case-insensitively (ASCII). As text, lines end with CR LF; reading accepts
/// CR LF, LF or CR.
class ZORP_API TStrings : public TObject {
public:
    /// The number of lines.
    virtual int Count() const = 0;
    /// The line at Index, read and replaced.
    /// @{
    virtual std::string Get(int Index) const = 0;
    virtual void Put(int Index, const std::string& S) = 0;
    /// @}
    /// The object attached to the line at Index (null for none), read and
    /// replaced; the list never frees it.
    /// @{
    virtual TObject* GetObject(int Index) const = 0;
    virtual void PutObject(int Index, TObject* AObject) = 0;
    /// @}
    /// Inserts the line S, with no object, before the line at Index (Count()
    /// appends).
    virtual void Insert(int Index, const std::string& S) = 0;
    /// Removes the line at Index; its object is not freed.
    virtual void Delete(int Index) = 0;
    /// Removes every line; the objects are not freed.
    virtual void Clear() = 0;

    /// The line at Index (Get).
    std::string Strings(int Index) const { return Get(Index); }
    /// The object attached to the line at Index (GetObject).
    TObject* Objects(int Index) const { return GetObject(Index); }

    /// Appends the line S; returns its index.
    int Add(const std::string& S);
    /// Appends the line S with AObject attached; returns its index.
    int AddObject(const std::string& S, TObject* AObject);
    /// Inserts the line S with AObject attached before the line at Index.
    void InsertObject(int Index, const std::string& S, TObject* AObject);
    /// Appends every line of Strings with its attached object.
    void AddStrings(const TStrings& Strings);
    /// Index of the first line equal to S ignoring case, or -1.
    int IndexOf(const std::string& S) const;
    /// Replaces the lines (and attached objects) with those of Source.
    virtual void Assign(const TStrings& Source);

    /// The lines, for range-for and the standard algorithms.
    /// @{
    TStringsIterator begin() const { return {this, 0}; }
    TStringsIterator end() const { return {this, Count()}; }
    /// @}

    /// All lines, each followed by a line break.
    std::string Text() const;
    /// Replaces the lines with those of Value, split at CR LF, LF or CR; a
    /// break at the very end adds no empty line.
    virtual void SetText(const std::string& Value);

    /// Writes Text() at the stream's position.
    virtual void SaveToStream(TStream& Stream) const;
    /// Replaces the lines with the text from the stream's position to its end.
    virtual void LoadFromStream(TStream& Stream);
    /// Writes Text() as the file FileName, creating or replacing it.
    void SaveToFile(const std::string& FileName) const;
    /// Replaces the lines with the text of the file FileName.
    void LoadFromFile(const std::string& FileName);
};

inline std::string TStringsIterator::operator*() const {
    return FStrings->Get(FIndex);
}

/// A list of lines kept in memory, in the order they were added. An index out
/// of range raises EListError ("List index out of bounds").
class ZORP_API TStringList : public TStrings {
public:
    /// Starts empty.
    TStringList() = default;
    /// Starts with Lines, in order, with no objects attached.
    TStringList(std::initializer_list<std::string> Lines);

    /// The number of lines held.
    int Count() const override { return static_cast<int>(FItems.size()); }
    /// The line at Index, read and replaced in memory.
    /// @{
    std::string Get(int Index) const override;
    void Put(int Index, const std::string& S) override;
    /// @}
    /// The object attached to the line at Index, read and replaced in memory.
    /// @{
    TObject* GetObject(int Index) const override;
    void PutObject(int Index, TObject* AObject) override;
    /// @}
    /// Inserts the line S, with no object, before the line at Index (Count()
    /// appends).
    void Insert(int Index, const std::string& S) override;
    /// Removes the line at Index; its object is not freed.
    void Delete(int Index) override;
    /// Removes every line; the objects are not freed.
    void Clear() override { FItems.clear(); }

private:
    void CheckIndex(int Index, int Limit) const;

    std::vector<std::pair<std::string, TObject*>> FItems;
};

} // namespace zorp::fw
