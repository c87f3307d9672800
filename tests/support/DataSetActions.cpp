#include "support/DataSetActions.h"

#include "framework/db/DataSet.h"
#include "framework/db/DataSource.h"

namespace zorp::test {

namespace {

bool EditingRecord(const fw::TDataSet& DataSet) {
    return DataSet.State() == fw::dsEdit || DataSet.State() == fw::dsInsert;
}

} // namespace

bool TDataSetAction::HandlesTarget(fw::TObject* Target) {
    const auto* source = dynamic_cast<fw::TDataSource*>(Target);
    return source != nullptr && source->DataSet() != nullptr;
}

fw::TDataSet& TDataSetAction::DataSetOf(fw::TObject* Target) const {
    return *dynamic_cast<fw::TDataSource&>(*Target).DataSet();
}

void TDataSetPost::ExecuteTarget(fw::TObject* Target) {
    DataSetOf(Target).Post();
}

void TDataSetPost::UpdateTarget(fw::TObject* Target) {
    SetEnabled(EditingRecord(DataSetOf(Target)));
}

void TDataSetCancel::ExecuteTarget(fw::TObject* Target) {
    DataSetOf(Target).Cancel();
}

void TDataSetCancel::UpdateTarget(fw::TObject* Target) {
    SetEnabled(EditingRecord(DataSetOf(Target)));
}

} // namespace zorp::test
