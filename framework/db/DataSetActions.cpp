#include "framework/db/DataSetActions.h"

#include "framework/db/DataSet.h"
#include "framework/db/DataSource.h"

namespace zorp::fw {

namespace {

bool EditingRecord(const TDataSet& DataSet) {
    return DataSet.State() == dsEdit || DataSet.State() == dsInsert;
}

} // namespace

bool TDataSetAction::HandlesTarget(TObject* Target) {
    const auto* source = dynamic_cast<TDataSource*>(Target);
    return source != nullptr && source->DataSet() != nullptr;
}

TDataSet& TDataSetAction::DataSetOf(TObject* Target) const {
    return *dynamic_cast<TDataSource&>(*Target).DataSet();
}

void TDataSetPost::ExecuteTarget(TObject* Target) {
    DataSetOf(Target).Post();
}

void TDataSetPost::UpdateTarget(TObject* Target) {
    SetEnabled(EditingRecord(DataSetOf(Target)));
}

void TDataSetCancel::ExecuteTarget(TObject* Target) {
    DataSetOf(Target).Cancel();
}

void TDataSetCancel::UpdateTarget(TObject* Target) {
    SetEnabled(EditingRecord(DataSetOf(Target)));
}

} // namespace zorp::fw
