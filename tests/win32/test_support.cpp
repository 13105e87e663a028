#include "test_support.h"

#include "tray/tray_icon.h"

#include <chrono>
#include <stdexcept>

namespace kestrune::test_support {

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

namespace {

// Removes a folder and everything in it, through the long-path form so that deep trees go too.
void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

}  // namespace

TempDir::~TempDir() {
  const std::string folder = path_.substr(0, path_.size() - 1);
  RemoveTree(L"\\\\?\\" + std::wstring(folder.begin(), folder.end()));
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

namespace {

std::vector<ServerRecord> ReadRecords(const TempDir& dir, const char* log_name) {
  std::vector<ServerRecord> records;
  const std::string log = ReadFileBytes(dir.File(log_name));
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

// The first static control with text: the message of a message box.
BOOL CALLBACK FindBoxText(HWND child, LPARAM found) {
  wchar_t class_name[32];
  GetClassNameW(child, class_name, 32);
  if (lstrcmpiW(class_name, L"Static") != 0 || GetWindowTextLengthW(child) == 0) return TRUE;
  std::wstring text(GetWindowTextLengthW(child) + 1, L'\0');
  text.resize(GetWindowTextW(child, text.data(), int(text.size())));
  *reinterpret_cast<std::wstring*>(found) = text;
  return FALSE;
}

struct BoxSearch {
  DWORD pid;
  HWND box = nullptr;
};

BOOL CALLBACK FindBox(HWND window, LPARAM search_param) {
  auto& search = *reinterpret_cast<BoxSearch*>(search_param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t class_name[32];
  GetClassNameW(window, class_name, 32);
  if (pid == search.pid && IsWindowVisible(window) && lstrcmpW(class_name, L"#32770") == 0) {
    search.box = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::vector<ServerRecord> ReadServerRecords(const TempDir& dir) {
  return ReadRecords(dir, "standin-server.log");
}

std::vector<ServerRecord> ReadToolRecords(const TempDir& dir) {
  return ReadRecords(dir, "standin-qstat.log");
}

std::string InstallStandinTool(const TempDir& dir, const std::string& control) {
  const std::string target = dir.File("qstat.exe");
  if (!CopyFileA((BinDirectory() + "standin_qstat.exe").c_str(), target.c_str(), FALSE)) {
    throw std::runtime_error("cannot copy the stand-in query tool");
  }
  WriteFileBytes(dir.File("standin-qstat.ctl"), control);
  return target;
}

DialogWatcher::DialogWatcher(DWORD pid, std::function<void(HWND dialog)> answer)
    : pid_(pid), answer_(std::move(answer)), thread_([this] { Run(); }) {}

DialogWatcher::~DialogWatcher() {
  stop_ = true;
  thread_.join();
}

void DialogWatcher::Run() {
  while (!stop_) {
    BoxSearch search{pid_};
    EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&search));
    if (!search.box) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      continue;
    }
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(search.box, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored)) continue;
    answer_(search.box);
    while (IsWindow(search.box) && IsWindowVisible(search.box) && !stop_) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
}

BoxWatcher::BoxWatcher(DWORD pid, std::function<void()> while_open)
    : while_open_(std::move(while_open)), watcher_(pid, [this](HWND box) {
        BoxSeen seen;
        seen.caption.resize(GetWindowTextLengthW(box) + 1);
        seen.caption.resize(GetWindowTextW(box, seen.caption.data(), int(seen.caption.size())));
        EnumChildWindows(box, &FindBoxText, reinterpret_cast<LPARAM>(&seen.text));
        seen.owner = GetWindow(box, GW_OWNER);
        GetWindowRect(box, &seen.bounds);
        if (while_open_) while_open_();
        {
          const std::lock_guard lock(mutex_);
          seen_.push_back(seen);
        }
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      }) {}

std::vector<BoxSeen> BoxWatcher::Seen(std::size_t count, DWORD timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    std::vector<BoxSeen> seen;
    {
      const std::lock_guard lock(mutex_);
      seen = seen_;
    }
    if (seen.size() >= count || GetTickCount64() >= deadline) return seen;
    // The thread under test may be the one that has to show the box: keep its messages going.
    PumpUntil([] { return false; }, 20);
  }
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

void EndStandins(const TempDir& dir) {
  std::vector<DWORD> pids;
  for (const auto& record : ReadServerRecords(dir)) pids.push_back(record.pid);
  for (const auto& record : ReadToolRecords(dir)) pids.push_back(record.pid);
  TerminateAll(pids);
}

VisibleWindow::VisibleWindow(const wchar_t* title, int x, int y)
    : window_(CreateWindowExW(0, L"STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, 200, 100,
                              nullptr, nullptr, nullptr, nullptr)) {}

bool InTray(HWND window, UINT id) {
  NOTIFYICONDATAA data{};
  data.cbSize = kNotifyDataSize;
  data.hWnd = window;
  data.uID = id;
  return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
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

void FakeWindow::FillForStandins(const TempDir& dir, const std::string& port) {
  fields = {{SettingField::kServerPath, InstallStandinServer(dir)},
            {SettingField::kAdditionalParams, "-port " + port},
            {SettingField::kQueryToolPath, dir.File("qstat.exe")},
            {SettingField::kQueryIp, "127.0.0.1"},
            {SettingField::kQueryPort, port},
            {SettingField::kDelay, "600"}};
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

void ThreadPump::PumpPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      terminating = true;
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace kestrune::test_support

namespace kestrune::test_support {

std::optional<std::string> RunOnX(const std::string& command, DWORD timeout_ms) {
  static int runs = 0;
  const std::string name =
      "/tmp/kestrune-x-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++runs);
  // Wine starts a Unix program from its path, without a process handle: the output file, renamed
  // into place when the command is over, is the handshake.
  std::string line =
      "/bin/sh -c \"(" + command + ") >" + name + ".part 2>&1; mv " + name + ".part " + name + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info)) {
    return std::nullopt;
  }
  if (info.hThread) CloseHandle(info.hThread);
  if (info.hProcess) CloseHandle(info.hProcess);
  std::string windows_name = "Z:" + name;
  for (char& c : windows_name) c = c == '/' ? '\\' : c;
  if (!PumpUntil(
          [&] { return GetFileAttributesA(windows_name.c_str()) != INVALID_FILE_ATTRIBUTES; },
          timeout_ms)) {
    return std::nullopt;
  }
  std::string output = ReadFileBytes(windows_name);
  DeleteFileA(windows_name.c_str());
  return output;
}

}  // namespace kestrune::test_support
