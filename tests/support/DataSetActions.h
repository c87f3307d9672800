// Data-set actions for tests of how actions reach a data set: the focused
// data-aware control passes an action it has no use for to its data link,
// which offers it its data source.
#pragma once

#include "framework/base/BasicAction.h"

#include <string>

namespace zorp::fw {
class TDataSet;
} // namespace zorp::fw

namespace zorp::test {

// An action that handles a data source that has a data set. Its Enabled
// state is what UpdateTarget makes of the data set's state; the subclasses
// post or cancel the record.
class TDataSetAction : public fw::TBasicAction {
public:
    static constexpr const char* StaticClassName = "TDataSetAction";
    explicit TDataSetAction(fw::TComponent* AOwner) : fw::TBasicAction(AOwner) {}
    std::string ClassName() const override { return StaticClassName; }

    bool HandlesTarget(fw::TObject* Target) override;

    // Whether the action may run now, as UpdateTarget last found it (true at first).
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }

protected:
    // The data set of a target that HandlesTarget accepted.
    fw::TDataSet& DataSetOf(fw::TObject* Target) const;

private:
    bool FEnabled = true;
};

// Posts the record being edited or inserted; enabled while there is one.
class TDataSetPost : public TDataSetAction {
public:
    static constexpr const char* StaticClassName = "TDataSetPost";
    explicit TDataSetPost(fw::TComponent* AOwner) : TDataSetAction(AOwner) {}
    std::string ClassName() const override { return StaticClassName; }

    void ExecuteTarget(fw::TObject* Target) override;
    void UpdateTarget(fw::TObject* Target) override;
};

// Throws the edit of the record away; enabled while there is one.
class TDataSetCancel : public TDataSetAction {
public:
    static constexpr const char* StaticClassName = "TDataSetCancel";
    explicit TDataSetCancel(fw::TComponent* AOwner) : TDataSetAction(AOwner) {}
    std::string ClassName() const override { return StaticClassName; }

    void ExecuteTarget(fw::TObject* Target) override;
    void UpdateTarget(fw::TObject* Target) override;
};

} // namespace zorp::test
