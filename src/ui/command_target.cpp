#include "ui/command_target.h"

namespace kestrune {
namespace {
constexpr wchar_t kProperty[] = L"KestruneCommandTarget";
}  // namespace

CommandTargetLink::CommandTargetLink(HWND window, CommandTarget& target)
    : property_(window, kProperty, &target) {}

CommandTarget* CommandTargetOf(HWND window) {
  return window ? static_cast<CommandTarget*>(::GetPropW(window, kProperty)) : nullptr;
}

}  // namespace kestrune
