#include "supervision/supervisor.h"

#include "base/integer_conversion.h"
#include "supervision/check_interval.h"
#include "supervision/query_result.h"
#include "supervision/query_result_rules.h"
#include "supervision/settings_file.h"
#include "supervision/status_texts.h"
#include "supervision/tool_runner.h"

namespace kestrune {

Supervisor::Supervisor(SupervisorWindow& window, MessagePump& pump, HWND tool_owner,
                       PathSource settings_path)
    : window_(window),
      pump_(pump),
      tool_owner_(tool_owner),
      settings_path_(std::move(settings_path)) {
  timer_.OnTimer = [this] { Check(); };
}

void Supervisor::LoadAtStart() {
  window_.SetStatusText(kStatusCreatingIni);
  const std::string auto_start = LoadSettings(window_, settings_path_());
  if (auto_start == "1") {
    StartServer();
    window_.SetAutoStartChecked(true);
  } else {
    window_.SetAutoStartChecked(false);
  }
}

void Supervisor::StartServer() {
  SaveSettings(window_, settings_path_());
  ++starts_;
  server_.LaunchServer(window_.FieldText(SettingField::kServerPath),
                       window_.FieldText(SettingField::kAdditionalParams));
  const std::int32_t delay_seconds = StrToInt(window_.FieldText(SettingField::kDelay));
  timer_.SetInterval(CheckIntervalMs(delay_seconds));
  timer_.SetEnabled(true);
  window_.SetStatusText(kStatusStarting);
}

void Supervisor::Check() {
  if (checking_) return;
  checking_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{checking_};

  window_.SetStatusText(kStatusQuerying);
  const QueryToolCall call = DeriveQueryToolCall(window_.FieldText(SettingField::kQueryToolPath),
                                                 window_.FieldText(SettingField::kQueryIp),
                                                 window_.FieldText(SettingField::kQueryPort));
  const unsigned starts_before = starts_;
  RunToolAndWait(pump_, tool_owner_, call.file_name, call.parameters, call.directory, kShowHidden);
  if (!timer_.Enabled() || starts_ != starts_before || pump_.TerminateRequested()) return;

  if (ServerDidNotAnswer(ReadQueryResult(call.result_path))) {
    server_.KillServer();
    window_.SetStatusText(kStatusCrashed);
    StartServer();
  } else {
    window_.SetStatusText(kStatusServerEnabled);
  }
}

void Supervisor::StartSupervision() {
  StartServer();
  window_.SetStatusText(kStatusStarted);
  window_.HideMainForm();
}

void Supervisor::StopSupervision() {
  server_.KillServer();
  timer_.SetEnabled(false);
  window_.SetStatusText(kStatusStopped);
}

void Supervisor::AutoStartChanged() {
  SaveAutoStart(window_.AutoStartChecked(), settings_path_());
}

}  // namespace kestrune
