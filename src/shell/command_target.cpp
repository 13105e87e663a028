#include "shell/command_target.h"

namespace kestrune {
namespace {
constexpr wchar_t kProperty[] = L"KestruneCommandTarget";
}  // namespace

void AttachCommandTarget(HWND window, CommandTarget* target) {
  ::SetPropW(window, kProperty, target);
}

void DetachCommandTarget(HWND window) {
  ::RemovePropW(window, kProperty);
}

CommandTarget* CommandTargetOf(HWND window) {
  return window ? static_cast<CommandTarget*>(::GetPropW(window, kProperty)) : nullptr;
}

}  // namespace kestrune
