#include "supervision/supervisor.h"

#include "base/integer_conversion.h"
#include "supervision/check_interval.h"
#include "supervision/settings_file.h"
#include "supervision/status_texts.h"

namespace kestrune {

Supervisor::Supervisor(SupervisorWindow& window, PathSource settings_path)
    : window_(window), settings_path_(std::move(settings_path)) {}

void Supervisor::FormCreate() {
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
  server_.LaunchServer(window_.FieldText(SettingField::kServerPath),
                       window_.FieldText(SettingField::kAdditionalParams));
  const std::int32_t delay_seconds = StrToInt(window_.FieldText(SettingField::kDelay));
  timer_.SetInterval(CheckIntervalMs(delay_seconds));
  timer_.SetEnabled(true);
  window_.SetStatusText(kStatusStarting);
}

void Supervisor::Button1Click() {
  StartServer();
  window_.SetStatusText(kStatusStarted);
  window_.HideMainForm();
}

void Supervisor::Button2Click() {
  server_.KillServer();
  timer_.SetEnabled(false);
  window_.SetStatusText(kStatusStopped);
}

void Supervisor::sCheckBox1Click() {
  SaveAutoStart(window_.AutoStartChecked(), settings_path_());
}

}  // namespace kestrune
