#include "test_support.h"

#include <shellapi.h>

#include <stdexcept>

namespace kestrune::testing {

TempDir::TempDir() {
  char base[MAX_PATH];
  GetTempPathA(sizeof base, base);
  static int counter = 0;
  for (;;) {
    path_ = std::string(base) + "kestrune-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++counter) + "\\";
    if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("no temporary folder");
  }
}

TempDir::~TempDir() {
  // Double-NUL-terminated list for the shell's recursive delete.
  std::string from = path_.substr(0, path_.size() - 1);
  from.push_back('\0');
  from.push_back('\0');
  SHFILEOPSTRUCTA operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  SHFileOperationA(&operation);
}

std::string BinDirectory() {
  char path[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string result(path, length);
  return result.substr(0, result.find_last_of('\\') + 1);
}

std::string InstallStandinServer(const TempDir& dir, const std::string& name) {
  const std::string target = dir.File(name);
  if (!CopyFileA((BinDirectory() + "standin_server.exe").c_str(), target.c_str(), FALSE)) {
    throw std::runtime_error("cannot copy the stand-in server");
  }
  return target;
}

std::string ReadFileBytes(const std::string& path) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
    bytes.append(buffer, read);
  }
  return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file) throw std::runtime_error("cannot write " + path);
  DWORD written = 0;
  WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr);
}

std::vector<ServerRecord> ReadServerRecords(const TempDir& dir) {
  std::vector<ServerRecord> records;
  const std::string log = ReadFileBytes(dir.File("standin-server.log"));
  std::size_t start = 0;
  while (start < log.size()) {
    std::size_t end = log.find('\n', start);
    if (end == std::string::npos) end = log.size();
    const std::string line = log.substr(start, end - start);
    const std::size_t tab1 = line.find('\t');
    const std::size_t tab2 = line.find('\t', tab1 + 1);
    if (tab1 != std::string::npos && tab2 != std::string::npos) {
      records.push_back({DWORD(std::stoul(line.substr(0, tab1))),
                         line.substr(tab1 + 1, tab2 - tab1 - 1), line.substr(tab2 + 1)});
    }
    start = end + 1;
  }
  return records;
}

UniqueHandle OpenForWait(DWORD pid) {
  return UniqueHandle(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
}

bool IsRunning(HANDLE process) {
  return WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
}

void TerminateAll(const std::vector<DWORD>& pids) {
  for (DWORD pid : pids) {
    UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
    if (process && TerminateProcess(process.get(), 1)) {
      WaitForSingleObject(process.get(), 5000);
    }
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  while (!done()) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(std::min<ULONGLONG>(deadline - now, 50)),
                              QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return true;
}

std::string FakeWindow::FieldText(SettingField field) const {
  const auto found = fields.find(field);
  return found == fields.end() ? std::string() : found->second;
}

void FakeWindow::SetFieldText(SettingField field, const std::string& text) {
  fields[field] = text;
}

void FakeWindow::SetAutoStartChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  if (on_check_box_click) on_check_box_click();
}

}  // namespace kestrune::testing
