// Data-set actions: TDataSetAction and its post and cancel commands.
#pragma once

#include "../base/BasicAction.h"
#include "../base/Export.h"

namespace zorp::fw {

class TDataSet;

/// A command that works on the data set behind a data source. A data-aware control that has
/// no use for an action passes it to its data link, which offers it its data source; so a
/// "post" action run on the focused control posts the record that control edits.
///
/// TDataSetAction handles a data source that has a data set. Its Enabled
/// state is what UpdateTarget makes of the data set's state; the subclasses
/// post or cancel the record.
class ZORP_API TDataSetAction : public TBasicAction {
public:
    /// The class's name, returned by ClassName and used when the class is registered.
    static constexpr const char* StaticClassName = "TDataSetAction";
    /// Creates an enabled action owned by AOwner.
    explicit TDataSetAction(TComponent* AOwner) : TBasicAction(AOwner) {}
    /// Returns StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// A TDataSource whose DataSet is set.
    bool HandlesTarget(TObject* Target) override;

    /// Whether the action may run now, as UpdateTarget last found it (true at first).
    /// @{
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    /// @}

protected:
    /// The data set of a target that HandlesTarget accepted.
    TDataSet& DataSetOf(TObject* Target) const;

private:
    bool FEnabled = true;
};

/// Posts the record being edited or inserted; enabled while there is one.
class ZORP_API TDataSetPost : public TDataSetAction {
public:
    /// The class's name, returned by ClassName and used when the class is registered.
    static constexpr const char* StaticClassName = "TDataSetPost";
    /// Creates an enabled action owned by AOwner.
    explicit TDataSetPost(TComponent* AOwner) : TDataSetAction(AOwner) {}
    /// Returns StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// Posts the record of the target's data set.
    void ExecuteTarget(TObject* Target) override;
    /// Enables the action while the target's data set is in edit or insert.
    void UpdateTarget(TObject* Target) override;
};

/// Throws the edit of the record away; enabled while there is one.
class ZORP_API TDataSetCancel : public TDataSetAction {
public:
    /// The class's name, returned by ClassName and used when the class is registered.
    static constexpr const char* StaticClassName = "TDataSetCancel";
    /// Creates an enabled action owned by AOwner.
    explicit TDataSetCancel(TComponent* AOwner) : TDataSetAction(AOwner) {}
    /// Returns StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// Cancels the edit or insert of the target's data set.
    void ExecuteTarget(TObject* Target) override;
    /// Enables the action while the target's data set is in edit or insert.
    void UpdateTarget(TObject* Target) override;
};

} // namespace zorp::fw
