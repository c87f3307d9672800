// Data-set actions: commands that work on the data set behind a data
// source. A data-aware control that has no use for an action passes it to
// its data link, which offers it its data source; so a "post" action run
// on the focused control posts the record that control edits.
//
// TDataSetAction handles a data source that has a data set. Its Enabled
// state is what UpdateTarget makes of the data set's state; the subclasses
// post or cancel the record.
#pragma once

#include "../base/BasicAction.h"
#include "../base/Export.h"

namespace zorp::fw {

class TDataSet;

class ZORP_API TDataSetAction : public TBasicAction {
public:
    static constexpr const char* StaticClassName = "TDataSetAction";
    explicit TDataSetAction(TComponent* AOwner) : TBasicAction(AOwner) {}
    std::string ClassName() const override { return StaticClassName; }

    // A TDataSource whose DataSet is set.
    bool HandlesTarget(TObject* Target) override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }

protected:
    // The data set of a target that HandlesTarget accepted.
    TDataSet& DataSetOf(TObject* Target) const;

private:
    bool FEnabled = true;
};

// Posts the record being edited or inserted; enabled while there is one.
class ZORP_API TDataSetPost : public TDataSetAction {
public:
    static constexpr const char* StaticClassName = "TDataSetPost";
    explicit TDataSetPost(TComponent* AOwner) : TDataSetAction(AOwner) {}
    std::string ClassName() const override { return StaticClassName; }

    void ExecuteTarget(TObject* Target) override;
    void UpdateTarget(TObject* Target) override;
};

// Throws the edit of the record away; enabled while there is one.
class ZORP_API TDataSetCancel : public TDataSetAction {
public:
    static constexpr const char* StaticClassName = "TDataSetCancel";
    explicit TDataSetCancel(TComponent* AOwner) : TDataSetAction(AOwner) {}
    std::string ClassName() const override { return StaticClassName; }

    void ExecuteTarget(TObject* Target) override;
    void UpdateTarget(TObject* Target) override;
};

} // namespace zorp::fw
