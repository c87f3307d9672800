// The binding every compressed data-aware control shares: from its data
// source, data field and CompressSource it finds, creates, attaches and
// releases the compressed field through which it loads and saves its
// column. A control owns one binding and forwards its property setters,
// Loaded and removal notices to it.
#pragma once

#include "../component/Zorp.h"
#include "../framework/base/Export.h"
#include "../framework/db/DataLink.h"
#include "../framework/db/DataSource.h"
#include "CompressedFields.h"

#include <functional>
#include <string>

namespace zorp {

// A component name made from a column name: letters and "_" anywhere,
// digits except in the first position, nothing else; "_" in front of an
// empty result or one that begins with a digit.
ZORP_API std::string FieldIdentifier(const std::string& ColumnName);

class ZORP_API TFieldBinding {
public:
    // MakeField creates a field of the control's compressed class owned by
    // the component given; IsOwnClass tells a field of that class.
    TFieldBinding(fw::TComponent& Control, fw::TFieldDataLink& DataLink,
                  std::function<TCBlobField*(fw::TComponent* Owner)> MakeField,
                  std::function<bool(fw::TField* Field)> IsOwnClass);
    ~TFieldBinding(); // releases the compressed field
    TFieldBinding(const TFieldBinding&) = delete;
    TFieldBinding& operator=(const TFieldBinding&) = delete;

    TCBlobField* CompressedField() const { return FCompressedField; }
    // The field loads and saves go through: the compressed field when there
    // is one, else the data link's field.
    fw::TField* Field() const;

    TZorp* CompressSource() const { return FCompressSource; }
    // Passed on to the compressed field; no binding check follows.
    void SetCompressSource(TZorp* Value);
    TZorpMethod CompressionMethod() const { return FCompressionMethod; }
    void SetCompressionMethod(TZorpMethod Value);

    // Sets the data link's data source (unless SkipLink), asks for its
    // removal notice, and binds again.
    void SetDataSource(fw::TDataSource* Value, bool SkipLink = false);
    void SetDataField(const std::string& Value);
    // Binds or unbinds from the current settings.
    void CheckCompressedField();
    // From the control's Notification.
    void Notification(fw::TComponent* AComponent, fw::TOperation Operation);

    // Runs after a field was attached to a data set (the rich-text control
    // switches the data set's BLOB caching off there).
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
