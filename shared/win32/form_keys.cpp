#include "form_keys.h"

namespace tessaro {

namespace {

constexpr wchar_t kProperty[] = L"TessaroFormKeys";

bool IsKeyMessage(UINT message) {
  return message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_CHAR ||
         message == WM_SYSCHAR;
}

}  // namespace

void SetFormKeys(HWND form, FormKeys* keys) {
  if (keys)
    SetPropW(form, kProperty, keys);
  else
    RemovePropW(form, kProperty);
}

bool OfferKeyToForm(const MSG& msg) {
  if (!IsKeyMessage(msg.message) || !msg.hwnd) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  auto* keys = root ? static_cast<FormKeys*>(GetPropW(root, kProperty)) : nullptr;
  return keys && keys->OnKey(msg);
}

void DispatchFormMessage(MSG& msg) {
  if (OfferKeyToForm(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

}  // namespace tessaro
