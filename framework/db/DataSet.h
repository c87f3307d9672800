// Data sets: TDataSet and the column definitions it reads (TFieldDef, TFieldDefs).
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

/// One column of a data set's source.
struct ZORP_API TFieldDef {
    /// The column's name.
    std::string Name;
    /// The field type the column's declared type maps to.
    TFieldType DataType = ftUnknown;
    /// The column's size: the length of a string column, else 0.
    int32_t Size = 0;
    /// True when the column refuses null values.
    bool Required = false;
};

class TDataSet;

/// The columns of a data set, read from its source with Update.
class ZORP_API TFieldDefs {
public:
    /// Starts empty, for the data set Owner.
    explicit TFieldDefs(TDataSet& Owner) : FOwner(Owner) {}
    /// Empties the list and has the data set fill it again from its source.
    void Update();
    /// The columns: their number and the one at Index (0-based); a bad index raises
    /// std::out_of_range.
    /// @{
    int Count() const { return static_cast<int>(FItems.size()); }
    const TFieldDef& Items(int Index) const { return FItems.at(static_cast<size_t>(Index)); }
    /// @}
    /// Index of the column of that name (ignoring case), or -1.
    int IndexOf(const std::string& Name) const;
    /// Removes all columns.
    void Clear() { FItems.clear(); }
    /// Appends a column; a data set calls it while it fills the list.
    void Add(TFieldDef Def) { FItems.push_back(std::move(Def)); }

private:
    TDataSet& FOwner;
    std::vector<TFieldDef> FItems;
};

/// A navigable set of records with one current record, the states inactive, browse, edit and
/// insert, and the fields that read and write the current record. A concrete data set
/// supplies the records through the Internal... operations; TSQLiteTable keeps them in a
/// SQLite table.
class ZORP_API TDataSet : public TComponent {
    friend class TFieldDefs; // Update asks the source for its columns

public:
    /// Creates a closed data set with no fields, owned by AOwner.
    explicit TDataSet(TComponent* AOwner);
    /// Detaches the fields and data sources still attached; subclasses close the data set in
    /// their own destructors.
    ~TDataSet() override;

    /// Reads the columns, opens the source, makes default fields when no field is attached,
    /// binds the fields to their columns and makes the first record current. Does nothing
    /// when open; raises EDatabaseError when a field's column is missing.
    void Open();
    /// Closes the data set: an edit not yet posted is lost, the default fields are freed, the
    /// persistent ones unbound, and the source is closed. Does nothing when closed.
    void Close();
    /// Whether the data set is open; setting it opens or closes it. While a form file is
    /// read, opening waits for Loaded.
    /// @{
    bool Active() const { return FState != dsInactive; }
    void SetActive(bool Value);
    /// @}
    /// The current state: inactive, browse, edit or insert.
    TDataSetState State() const { return FState; }

    /// Moves the current record: First and Last to the ends, Next and Prior one record on or
    /// back, stopping at the ends. A record being edited or inserted is posted first when
    /// modified, else cancelled.
    /// @{
    void First();
    void Next();
    void Prior();
    void Last();
    /// @}
    /// True at the end (Eof) or start (Bof) of the records: Last and a move past the last
    /// record set Eof, First and a move before the first set Bof; with no records both are
    /// set.
    /// @{
    bool Eof() const { return FEof; }
    bool Bof() const { return FBof; }
    /// @}
    /// Number of records; raises EDatabaseError when the data set is closed.
    int RecordCount();
    /// 1-based number of the current record; 0 when there is none.
    int RecNo() const { return FRecords > 0 ? FCurrent + 1 : 0; }

    /// Puts the current record into edit mode, or inserts when there are no records. Does
    /// nothing while editing or inserting; raises EDatabaseError when the data set is closed
    /// or cannot be modified.
    void Edit();
    /// Starts a new record with all values null, in insert mode, after posting or cancelling
    /// an edit as a move does. Raises EDatabaseError when the data set cannot be modified.
    void Insert();
    /// Starts a new record as Insert does; its place among the records is settled when it is
    /// posted.
    void Append();
    /// Writes the record being edited or inserted: data links write their controls' values
    /// back first, then the changed values are stored and the record is read again. Raises
    /// EDatabaseError outside edit or insert.
    void Post();
    /// Throws away the edit or insert and reads the current record again; does nothing while
    /// browsing. Raises EDatabaseError when the data set is closed.
    void Cancel();
    /// Deletes the current record (an insert is cancelled instead); the record after it, or
    /// the new last one, becomes current. Raises EDatabaseError when closed or empty.
    void Delete();
    /// True when records may be changed; the base allows it while the data set is open.
    virtual bool CanModify() const { return Active(); }
    /// True once a field of the current record was changed in edit or insert.
    bool Modified() const { return FModified; }

    /// The columns of the source, read when the data set opens.
    TFieldDefs& FieldDefs() { return FFieldDefs; }
    /// The fields attached to the data set: their number and the one at Index (0-based), in
    /// the order they were attached; a bad index raises std::out_of_range.
    /// @{
    int FieldCount() const { return static_cast<int>(FFields.size()); }
    TField* Fields(int Index) const { return FFields.at(static_cast<size_t>(Index)); }
    /// @}
    /// The attached field of that name (ignoring case), or nullptr.
    TField* FindField(const std::string& FieldName) const;
    /// As FindField, but raises EDatabaseError "Field 'X' not found".
    TField& FieldByName(const std::string& FieldName) const;

    /// A stream over a BLOB field's value in the current record. Read mode
    /// gives the value; write mode needs edit or insert and replaces the
    /// value with what was written when the stream is freed; read-write
    /// starts from the value.
    virtual std::unique_ptr<TStream> CreateBlobStream(TField& Field, TBlobStreamMode Mode);

    /// The current record's value of a column, fetched when first asked.
    TVariant GetFieldData(int FieldNo);
    /// Changes a column of the current record; needs edit or insert.
    void SetFieldData(TField& Field, const TVariant& Value);

    /// Tells the data sources (and through them the data links).
    void DataEvent(TDataEvent Event, TField* Info);

    /// Bookkeeping of the fields and data sources attached to this data set, kept by their
    /// SetDataSet; adding a field to an open data set raises EDatabaseError.
    /// @{
    void AddField(TField* Field);
    void RemoveField(TField* Field);
    void AddDataSource(TDataSource* Source);
    void RemoveDataSource(TDataSource* Source);
    /// @}

    /// Raises EDatabaseError unless the data set is in edit or insert.
    void CheckEditing() const;

protected:
    /// Opens the data set when a form file asked for it.
    void Loaded() override;
    /// Makes record Index (0-based) current, as the navigation does.
    void GotoRecord(int Index) { MoveTo(Index); }
    /// Fills FieldDefs() from the source.
    virtual void InternalInitFieldDefs() = 0;
    /// Opens the source's records; FieldDefs() is filled already.
    virtual void InternalOpen() = 0;
    /// Releases what InternalOpen took.
    virtual void InternalClose() = 0;
    /// Number of records in the source.
    virtual int InternalRecordCount() = 0;
    /// The values of record Index; BLOB columns may be left unset, to be
    /// fetched with InternalFetchBlob when asked for.
    virtual void InternalLoadRecord(int Index, std::vector<std::optional<TVariant>>& Values) = 0;
    /// The value of column FieldNo in record Index, for a column InternalLoadRecord left unset.
    virtual TVariant InternalFetchBlob(int Index, int FieldNo) = 0;
    /// Writes the record in one statement; returns the record's index after. Inserting tells
    /// a new record from record Index; Changed marks the columns that were set.
    virtual int InternalPost(bool Inserting, int Index,
                             const std::vector<std::optional<TVariant>>& Values,
                             const std::vector<bool>& Changed) = 0;
    /// Deletes record Index from the source.
    virtual void InternalDelete(int Index) = 0;
    /// Raises EDatabaseError while the data set is open: for settings that
    /// may change only while it is closed.
    void CheckInactive() const;

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
