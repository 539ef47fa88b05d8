#include "app/kept_settings.h"

#include <algorithm>
#include <memory>

#include "core/log.h"
#include "host/settings.h"
#include "platform/files/storage.h"

namespace zorvex {

namespace {

std::unique_ptr<host::SettingsKeeper> keeper;
bool scale_restored = false;

bool Given(const Options& options, const char* name) {
  return std::find(options.given.begin(), options.given.end(), name) != options.given.end();
}

}  // namespace

bool Keeps_Settings(const Options& o) {
  return !o.headless && !o.autoplay && o.replay_path.empty() && o.trace_path.empty();
}

void Load_Settings(Options* options, void (*report)(const char* text)) {
  keeper.reset();
  scale_restored = false;
  const std::string folder = plat::files::Settings_Folder();
  if (!Keeps_Settings(*options) || folder.empty()) return;
  keeper = std::make_unique<host::SettingsKeeper>(
      plat::files::Make_Folder_Storage(folder),
      [report](const std::string& text) { report(text.c_str()); });
  const host::Settings kept = keeper->Load();
  std::string restored;
  auto restore = [&](const char* name, const auto& value, auto* field, const std::string& shown) {
    if (!value || Given(*options, name)) return false;
    *field = *value;
    restored += (restored.empty() ? "" : ", ") + shown;
    return true;
  };
  const std::string volume = std::to_string(kept.volume.value_or(0));
  const std::string scale = std::to_string(kept.scale.value_or(0));
  restore("--volume", kept.volume, &options->volume, "volume " + volume);
  restore("--window", kept.window, &options->window,
          kept.window.value_or(false) ? "window" : "full screen");
  scale_restored = restore("--scale", kept.scale, &options->scale, "scale " + scale);
  restore("--present", kept.present, &options->present, "present " + kept.present.value_or(""));
  restore("--sensitivity", kept.sensitivity, &options->sensitivity,
          "sensitivity " + std::to_string(kept.sensitivity.value_or(0)) + "%");
  restore("--stick", kept.stick, &options->stick, "stick " + kept.stick.value_or(""));
  if (!restored.empty())
    Log_Error("Settings restored from %s: %s\n", keeper->Where().c_str(), restored.c_str());
}

bool Scale_Restored() { return scale_restored; }

std::string Remember_Setting(const char* key, int value) {
  return keeper ? keeper->Remember(key, std::to_string(value)) : "";
}

}  // namespace zorvex
