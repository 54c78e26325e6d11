#include "uikit/radio_button_ctl.h"

#include "uikit/gdi_resource.h"
#include "uikit/ui_messages.h"
#include "uikit/xml_helper.h"

namespace uikit {

CRadioButtonCtl::CRadioButtonCtl(HWND owner, bool layered) : CCheckBoxCtl(owner, layered) {
  image_ = GetGDIResource()->LoadSkinImage(L"RadioButton");
}

void CRadioButtonCtl::LoadAttributes(const TiXmlElement* element) {
  LoadCommonAttributes(element);
  image_ = CXmlHelper::ReadImage(element, "image");
}

void CRadioButtonCtl::SetSelected(bool selected) {
  selected_ = selected;
  pressed_ = selected;
  check_mark_ = selected;
  if (state_ != kDisabled) SetState(selected ? kPressed : kNormal);
}

void CRadioButtonCtl::OnMouseDown(UINT, int, int) {
  if (state_ == kDisabled || selected_) return;
  pressed_ = true;
  selected_ = true;
  check_mark_ = true;
  SetState(kPressed);
  if (owner_ != nullptr) {
    SendMessageW(owner_, WM_UI_RADIO_SELECTED, reinterpret_cast<WPARAM>(this), 0);
  }
}

void CRadioButtonCtl::OnMouseUp(UINT, int, int) {
  if (state_ != kDisabled) NotifyClicked();
}

}  // namespace uikit
