// The data-aware pieces of the suite's grid pack (InfoPower): TwwClientDataSet, a client data
// set that also keeps the pack's per-field settings (control types and picture masks, lines of
// the form "FIELD;setting"), and TwwDataSource. Forms find their pack data sets by class (the
// condition form converts their field labels and texts).
#pragma once

#include <memory>

#include "platform/ui/DBClient.h"

namespace kv {

class TwwClientDataSet : public TClientDataSet {
    KV_CLASS(TwwClientDataSet, TClientDataSet)
public:
    explicit TwwClientDataSet(TComponent* owner);
    ~TwwClientDataSet() override;

    // "FIELD;CheckBox;Y;N", "FIELD;CustomEdit;cbo" and the like: how the pack's grids edit
    // a field.
    TStrings* ControlType() const { return controlType_.get(); }
    void SetControlType(TStrings* value) { controlType_->Assign(value); }
    // "FIELD;mask;autofill": the picture masks of fields.
    TStrings* PictureMasks() const { return pictureMasks_.get(); }
    void SetPictureMasks(TStrings* value) { pictureMasks_->Assign(value); }
    bool ValidateWithMask() const { return validateWithMask_; }
    void SetValidateWithMask(bool value) { validateWithMask_ = value; }

private:
    std::unique_ptr<TStringList> controlType_;
    std::unique_ptr<TStringList> pictureMasks_;
    bool validateWithMask_ = false;
};

class TwwDataSource : public TDataSource {
    KV_CLASS(TwwDataSource, TDataSource)
public:
    explicit TwwDataSource(TComponent* owner) : TDataSource(owner) {}
};

}  // namespace kv
