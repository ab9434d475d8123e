#include "platform/ui/wwClient.h"

namespace kv {

KV_PUBLISHED(TwwClientDataSet) {
    b.Property("ControlType", &T::ControlType, &T::SetControlType);
    b.Property("PictureMasks", &T::PictureMasks, &T::SetPictureMasks);
    b.Property("ValidateWithMask", &T::ValidateWithMask, &T::SetValidateWithMask).Default(0);
}
KV_PUBLISHED(TwwDataSource) {}
KV_REGISTER_CLASS(TwwClientDataSet);
KV_REGISTER_CLASS(TwwDataSource);

TwwClientDataSet::TwwClientDataSet(TComponent* owner)
    : TClientDataSet(owner),
      controlType_(std::make_unique<TStringList>()),
      pictureMasks_(std::make_unique<TStringList>()) {}

TwwClientDataSet::~TwwClientDataSet() = default;

}  // namespace kv
