#include "supervision/supervisor.h"

#include <chrono>
#include <exception>

#include "base/integer_conversion.h"
#include "base/win32/error_text.h"
#include "supervision/check_interval.h"
#include "supervision/query_result.h"
#include "supervision/query_result_rules.h"
#include "supervision/server_copies.h"
#include "supervision/status_texts.h"

namespace kestrune {

Supervisor::Supervisor(SupervisorWindow& window, MessagePump& pump, HWND tool_owner,
                       PathSource settings_path, PathSource history_path)
    : window_(window),
      pump_(pump),
      tool_owner_(tool_owner),
      settings_path_(std::move(settings_path)),
      history_(std::move(history_path)),
      clock_([] { return std::chrono::milliseconds(::GetTickCount64()); }) {
  timer_.OnTimer = [this] { Check(); };
  restart_timer_.SetInterval(1000);
  restart_timer_.OnTimer = [this] { RestartCountdown(); };
}

Supervisor::~Supervisor() {
  Record("Kestrune closed");
}

void Supervisor::LoadAtStart() {
  Record("Kestrune opened");
  window_.SetStatusText(kStatusCreatingIni);
  const std::string auto_start = LoadSettings(window_, settings_path_());
  if (auto_start == "1") {
    BeginSupervision("Supervision started by auto-start: ");
    StartServer();
    window_.SetAutoStartChecked(true);
  } else {
    window_.SetAutoStartChecked(false);
  }
}

void Supervisor::StartServer() {
  SaveSettings(window_, settings_path_());
  LaunchAndArm();
}

void Supervisor::BeginSupervision(const std::string& how) {
  Record(how + window_.FieldText(SettingField::kServerPath) + " " +
         window_.FieldText(SettingField::kAdditionalParams));
  restart_timer_.SetEnabled(false);
  backoff_.Reset();
  const WatchdogSettingsRead watchdog = LoadWatchdogSettings(settings_path_());
  for (const std::string& line : watchdog.history) Record(line);
  confirmation_ = FailureConfirmation(watchdog.settings.failures_before_restart,
                                      std::chrono::seconds(watchdog.settings.start_grace_seconds));
}

void Supervisor::OnServerEnded() {
  if (!timer_.Enabled() || pump_.TerminateRequested()) return;
  NoteServerEnd();
  window_.SetStatusText(kStatusCrashed);
  RestartAfterFailure();
}

void Supervisor::RestartAfterFailure() {
  const RestartDecision decision = backoff_.OnFailure(clock_());
  if (decision.wait <= std::chrono::milliseconds(0)) {
    Relaunch();
    return;
  }
  Record(RestartWaitHistory(decision));
  restart_due_ = clock_() + decision.wait;
  window_.SetStatusText(RestartingInStatus(decision.wait));
  restart_timer_.SetEnabled(true);
}

void Supervisor::RestartCountdown() {
  const std::chrono::milliseconds now = clock_();
  if (now < restart_due_) {
    window_.SetStatusText(RestartingInStatus(restart_due_ - now));
    return;
  }
  restart_timer_.SetEnabled(false);
  Relaunch();
}

bool Supervisor::KillTrackedServer() {
  server_end_.Stop();
  NoteServerEnd();
  const DWORD pid = server_.ServerProcessInfo().dwProcessId;
  if (!server_.KillServer()) return false;
  Record("Killed the server (process " + std::to_string(pid) + ")");
  return true;
}

void Supervisor::Relaunch() {
  std::exception_ptr save_failure;
  try {
    SaveSettings(window_, settings_path_());
  } catch (const Exception&) {
    save_failure = std::current_exception();
  }
  LaunchAndArm();
  if (save_failure) std::rethrow_exception(save_failure);
}

void Supervisor::LaunchAndArm() {
  ++starts_;
  restart_timer_.SetEnabled(false);
  const std::string path = window_.FieldText(SettingField::kServerPath);
  const std::string params = window_.FieldText(SettingField::kAdditionalParams);
  KillTrackedServer();
  EndCopiesOfTheServer(path, params);
  if (const DWORD error = server_.LaunchServer(path, params)) {
    Record("Launch refused: " + path + ": " + SystemErrorText(error));
  } else {
    end_noted_ = false;
    Record("Launched the server: process " +
           std::to_string(server_.ServerProcessInfo().dwProcessId));
    server_end_.Watch(server_.ProcessHandle(), [this] { OnServerEnded(); });
  }
  backoff_.OnLaunch(clock_());
  confirmation_.OnLaunch(clock_());
  awaiting_answer_ = true;
  const std::int32_t delay_seconds = StrToInt(window_.FieldText(SettingField::kDelay));
  timer_.SetInterval(CheckIntervalMs(delay_seconds));
  timer_.SetEnabled(true);
  window_.SetStatusText(kStatusStarting);
}

void Supervisor::EndCopiesOfTheServer(const std::string& path, const std::string& params) {
  for (ServerCopy& copy :
       FindServerCopies(path, ServerCommandLine(params), server_.ServerProcessInfo().dwProcessId)) {
    if (!::TerminateProcess(copy.process.get(), kKilledServerExitCode)) continue;
    ::WaitForSingleObject(copy.process.get(), kServerExitWaitMs);
    Record("Ended a copy of the server left from an earlier run (process " +
           std::to_string(copy.pid) + ")");
  }
}

void Supervisor::NoteServerEnd() {
  if (end_noted_) return;
  const std::optional<DWORD> exit_code = server_.ExitCode();
  if (!exit_code) return;
  end_noted_ = true;
  if (*exit_code == kKilledServerExitCode) return;  // our own kill, recorded when it was done
  Record("The server (process " + std::to_string(server_.ServerProcessInfo().dwProcessId) +
         ") had ended by itself with exit code " + std::to_string(*exit_code));
}

void Supervisor::Check() {
  if (checking_) return;
  checking_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{checking_};

  // The server is down and its relaunch waits out the back-off: there is nothing to ask.
  if (RestartPending()) return;
  window_.SetStatusText(kStatusQuerying);
  NoteServerEnd();
  const QueryToolCall call = DeriveQueryToolCall(window_.FieldText(SettingField::kQueryToolPath),
                                                 window_.FieldText(SettingField::kQueryIp),
                                                 window_.FieldText(SettingField::kQueryPort));
  if (const unsigned long error = RemoveQueryResult(call.result_path)) {
    window_.SetStatusText(kStatusResultNotRemoved);
    Record("No verdict: the earlier result " + call.result_path +
           " could not be removed: " + SystemErrorText(error));
    awaiting_answer_ = true;
    return;
  }
  const unsigned starts_before = starts_;
  const ToolRun run = RunToolAndWait(pump_, tool_owner_, call.file_name, call.parameters,
                                     call.directory, kShowHidden, tool_wait_limit_ms_);
  if (!timer_.Enabled() || starts_ != starts_before || pump_.TerminateRequested()) return;

  switch (run.outcome) {
    case ToolRun::Outcome::kNotStarted:
      window_.SetStatusText(kStatusToolNotStarted);
      Record("No verdict: the query tool " + call.directory + call.file_name +
             " could not be started: " + SystemErrorText(run.error));
      awaiting_answer_ = true;
      return;
    case ToolRun::Outcome::kTimedOut:
      window_.SetStatusText(kStatusToolTimedOut);
      Record("No verdict: the query tool did not finish within " +
             std::to_string(tool_wait_limit_ms_ / 1000) + " s and was ended");
      awaiting_answer_ = true;
      return;
    case ToolRun::Outcome::kTerminating:
      return;
    case ToolRun::Outcome::kEnded:
      break;
  }

  std::string line2;
  try {
    line2 = ReadQueryResult(call.result_path);
  } catch (const Exception&) {
    awaiting_answer_ = true;  // the failure box, and with it the history, say the rest
    throw;
  }
  if (ServerDidNotAnswer(line2)) {
    const FailedCheckOutcome outcome = confirmation_.OnFailedCheck(clock_());
    switch (outcome.verdict) {
      case FailedCheckVerdict::kIgnoredInGrace:
        window_.SetStatusText(kStatusNoResponseInGrace);
        Record("Check failed within the start grace, not counted: \"" + line2 + "\"");
        return;
      case FailedCheckVerdict::kCounted:
        window_.SetStatusText(NoResponseStatus(outcome.failures_in_a_row, outcome.failures_needed));
        Record("Check failed (" + std::to_string(outcome.failures_in_a_row) + " of " +
               std::to_string(outcome.failures_needed) + "): \"" + line2 + "\"");
        return;
      case FailedCheckVerdict::kRestart:
        break;
    }
    Record("Check failed: \"" + line2 + "\"");
    KillTrackedServer();
    window_.SetStatusText(kStatusCrashed);
    RestartAfterFailure();
  } else {
    confirmation_.OnAnswer();
    window_.SetStatusText(kStatusServerEnabled);
    if (awaiting_answer_) {
      awaiting_answer_ = false;
      Record("The server answered: \"" + line2 + "\"");
    }
  }
}

void Supervisor::StartSupervision() {
  BeginSupervision("Supervision started: ");
  StartServer();
  window_.SetStatusText(kStatusStarted);
  window_.HideMainForm();
}

void Supervisor::StopSupervision() {
  KillTrackedServer();
  restart_timer_.SetEnabled(false);
  backoff_.Reset();
  timer_.SetEnabled(false);
  Record("Supervision stopped");
  window_.SetStatusText(kStatusStopped);
}

void Supervisor::AutoStartChanged() {
  SaveAutoStart(window_.AutoStartChecked(), settings_path_());
}

}  // namespace kestrune
