// The binding of the compressed data-aware controls to their compressed field.
#pragma once

#include "../component/Zorp.h"
#include "../framework/base/Export.h"
#include "../framework/db/DataLink.h"
#include "../framework/db/DataSource.h"
#include "CompressedFields.h"

#include <functional>
#include <string>

namespace zorp {

/// A component name made from a column name: letters and "_" anywhere,
/// digits except in the first position, nothing else; "_" in front of an
/// empty result or one that begins with a digit.
ZORP_API std::string FieldIdentifier(const std::string& ColumnName);

/// The binding every compressed data-aware control shares: from its data
/// source, data field and CompressSource it finds, creates, attaches and
/// releases the compressed field through which it loads and saves its
/// column. A control owns one binding and forwards its property setters,
/// Loaded and removal notices to it.
class ZORP_API TFieldBinding {
public:
    /// Starts unbound. MakeField creates a field of the control's compressed class owned by
    /// the component given; IsOwnClass tells a field of that class.
    TFieldBinding(fw::TComponent& Control, fw::TFieldDataLink& DataLink,
                  std::function<TCBlobField*(fw::TComponent* Owner)> MakeField,
                  std::function<bool(fw::TField* Field)> IsOwnClass);
    /// Releases the compressed field.
    ~TFieldBinding();
    TFieldBinding(const TFieldBinding&) = delete;
    TFieldBinding& operator=(const TFieldBinding&) = delete;

    /// The compressed field the control is bound to, or nullptr while unbound.
    TCBlobField* CompressedField() const { return FCompressedField; }
    /// The field loads and saves go through: the compressed field when there
    /// is one, else the data link's field.
    fw::TField* Field() const;

    /// The component the compressed field compresses and expands with. Setting it asks for
    /// its removal notice and passes it on to the compressed field; no binding check follows.
    /// @{
    TZorp* CompressSource() const { return FCompressSource; }
    void SetCompressSource(TZorp* Value);
    /// @}
    /// The method the compressed field compresses with; setting it passes it on to the field.
    /// @{
    TZorpMethod CompressionMethod() const { return FCompressionMethod; }
    void SetCompressionMethod(TZorpMethod Value);
    /// @}

    /// Sets the data link's data source (unless SkipLink), asks for its
    /// removal notice, and binds again.
    void SetDataSource(fw::TDataSource* Value, bool SkipLink = false);
    /// Sets the data link's field name and binds again.
    void SetDataField(const std::string& Value);
    /// Binds or unbinds from the current settings. Without a data field, data set or
    /// CompressSource it releases the field; a field of the control's class that the data set
    /// already has is adopted as it is; otherwise it creates one (owned by the control's owner,
    /// or the control) and attaches it to the column. A missing column, or a plain field the
    /// data set already has for it, shows a message and clears the data field.
    void CheckCompressedField();
    /// From the control's Notification: forgets a removed compressed field and unsets a
    /// removed data source or CompressSource.
    void Notification(fw::TComponent* AComponent, fw::TOperation Operation);

    /// Runs after a field was attached to a data set (the rich-text control
    /// switches the data set's BLOB caching off there).
    std::function<void(fw::TDataSet& DataSet)> OnAttached;

private:
    void Attach(fw::TField* Existing);
    void Release();

    fw::TComponent& FControl;
    fw::TFieldDataLink& FDataLink;
    std::function<TCBlobField*(fw::TComponent*)> FMakeField;
    std::function<bool(fw::TField*)> FIsOwnClass;
    TCBlobField* FCompressedField = nullptr;
    TZorp* FCompressSource = nullptr;
    TZorpMethod FCompressionMethod = coNone;
};

} // namespace zorp
