// TDataSet: a navigable set of records with one current record, the states
// inactive, browse, edit and insert, and the fields that read and write the
// current record. A concrete data set supplies the records through the
// Internal... operations; TSQLiteTable keeps them in a SQLite table.
#pragma once

#include "../base/Component.h"
#include "../base/Export.h"
#include "../base/Stream.h"
#include "DBTypes.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zorp::fw {

class TDataSource;
class TField;

struct ZORP_API TFieldDef {
    std::string Name;
    TFieldType DataType = ftUnknown;
    int32_t Size = 0;
    bool Required = false;
};

class TDataSet;

// The columns of a data set, read from its source with Update.
class ZORP_API TFieldDefs {
public:
    explicit TFieldDefs(TDataSet& Owner) : FOwner(Owner) {}
    void Update();
    int Count() const { return static_cast<int>(FItems.size()); }
    const TFieldDef& Items(int Index) const { return FItems.at(static_cast<size_t>(Index)); }
    // Index of the column of that name (ignoring case), or -1.
    int IndexOf(const std::string& Name) const;
    void Clear() { FItems.clear(); }
    void Add(TFieldDef Def) { FItems.push_back(std::move(Def)); }

private:
    TDataSet& FOwner;
    std::vector<TFieldDef> FItems;
};

class ZORP_API TDataSet : public TComponent {
    friend class TFieldDefs; // Update asks the source for its columns

public:
    explicit TDataSet(TComponent* AOwner);
    ~TDataSet() override;

    void Open();
    void Close();
    bool Active() const { return FState != dsInactive; }
    // While a form file is read, opening waits for Loaded.
    void SetActive(bool Value);
    TDataSetState State() const { return FState; }

    void First();
    void Next();
    void Prior();
    void Last();
    bool Eof() const { return FEof; }
    bool Bof() const { return FBof; }
    int RecordCount();
    // 1-based number of the current record; 0 when there is none.
    int RecNo() const { return FRecords > 0 ? FCurrent + 1 : 0; }

    void Edit();
    void Insert();
    void Append();
    void Post();
    void Cancel();
    void Delete();
    virtual bool CanModify() const { return Active(); }
    // True once a field of the current record was changed in edit or insert.
    bool Modified() const { return FModified; }

    TFieldDefs& FieldDefs() { return FFieldDefs; }
    int FieldCount() const { return static_cast<int>(FFields.size()); }
    TField* Fields(int Index) const { return FFields.at(static_cast<size_t>(Index)); }
    TField* FindField(const std::string& FieldName) const;
    // As FindField, but raises EDatabaseError "Field 'X' not found".
    TField& FieldByName(const std::string& FieldName) const;

    // A stream over a BLOB field's value in the current record. Read mode
    // gives the value; write mode needs edit or insert and replaces the
    // value with what was written when the stream is freed; read-write
    // starts from the value.
    virtual std::unique_ptr<TStream> CreateBlobStream(TField& Field, TBlobStreamMode Mode);

    // The current record's value of a column, fetched when first asked.
    TVariant GetFieldData(int FieldNo);
    // Changes a column of the current record; needs edit or insert.
    void SetFieldData(TField& Field, const TVariant& Value);

    // Tells the data sources (and through them the data links).
    void DataEvent(TDataEvent Event, TField* Info);

    // Bookkeeping of fields and data sources attached to this data set.
    void AddField(TField* Field);
    void RemoveField(TField* Field);
    void AddDataSource(TDataSource* Source);
    void RemoveDataSource(TDataSource* Source);

    // Raises EDatabaseError unless the data set is in edit or insert.
    void CheckEditing() const;

protected:
    // Opens the data set when a form file asked for it.
    void Loaded() override;
    // Makes record Index (0-based) current, as the navigation does.
    void GotoRecord(int Index) { MoveTo(Index); }
    // Fills FieldDefs() from the source.
    virtual void InternalInitFieldDefs() = 0;
    virtual void InternalOpen() = 0;
    virtual void InternalClose() = 0;
    virtual int InternalRecordCount() = 0;
    // The values of record Index; BLOB columns may be left unset, to be
    // fetched with InternalFetchBlob when asked for.
    virtual void InternalLoadRecord(int Index, std::vector<std::optional<TVariant>>& Values) = 0;
    virtual TVariant InternalFetchBlob(int Index, int FieldNo) = 0;
    // Writes the record in one statement; returns the record's index after.
    virtual int InternalPost(bool Inserting, int Index,
                             const std::vector<std::optional<TVariant>>& Values,
                             const std::vector<bool>& Changed) = 0;
    virtual void InternalDelete(int Index) = 0;

private:
    void CheckActive() const;
    void CheckBrowseMode();
    void SetState(TDataSetState Value);
    void LoadCurrent();
    void MoveTo(int Index);
    void CreateDefaultFields();
    void BindFields();
    void DestroyDefaultFields();

    bool FStreamedActive = false;
    TDataSetState FState = dsInactive;
    TFieldDefs FFieldDefs;
    std::vector<TField*> FFields;        // attached, not owned (defaults are owned as components)
    std::vector<TField*> FDefaultFields; // made at open, freed at close
    std::vector<TDataSource*> FDataSources;
    std::vector<std::optional<TVariant>> FBuffer;
    std::vector<bool> FChanged;
    int FRecords = 0;
    int FCurrent = 0;
    bool FBof = true;
    bool FEof = true;
    bool FModified = false;
};

} // namespace zorp::fw
