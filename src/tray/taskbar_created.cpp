#include "tray/taskbar_created.h"

#include <vector>

#include "tray/tray_rules.h"

namespace kestrune {
namespace {

std::uint32_t ReadCommonControlsVersion() noexcept {
  try {
    const char* const module = "comctl32.dll";
    DWORD unused = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(module, &unused);
    if (size == 0) return 0;
    std::vector<BYTE> block(size);
    if (!::GetFileVersionInfoA(module, 0, size, block.data())) return 0;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info ||
        length < sizeof *info || info->dwSignature != VS_FFI_SIGNATURE) {
      return 0;
    }
    // The high word holds the major version, the low word the minor one.
    return info->dwFileVersionMS;
  } catch (...) {
    return 0;
  }
}

UINT g_taskbar_created = 0;

}  // namespace

std::uint32_t CommonControlsVersion() {
  static const std::uint32_t version = ReadCommonControlsVersion();
  return version;
}

void RegisterTaskbarCreated(std::uint32_t comctl_version) {
  g_taskbar_created =
      RegistersTaskbarCreated(comctl_version) ? ::RegisterWindowMessageA("TaskbarCreated") : 0;
}

UINT TaskbarCreatedMessage() {
  return g_taskbar_created;
}

}  // namespace kestrune
