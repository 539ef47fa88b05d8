#include "app/entry.h"

#include <cstdio>

#include "app/kept_games.h"
#include "app/kept_settings.h"
#include "app/program.h"
#include "core/log.h"
#include "platform/data_path.h"

namespace zorvex {

namespace {

bool Has_Sheet(const std::string& dir) {
  std::FILE* file = std::fopen((dir.empty() ? "gfx.bmp" : dir + "/gfx.bmp").c_str(), "rb");
  if (file) std::fclose(file);
  return file != nullptr;
}

// Returns -1 to go on, or the exit status after --help, --version or a bad command line.
int Read_Command_Line(int argc, char** argv, Options* options) {
  std::string error;
  if (!Parse_Options(argc, argv, options, &error))
    return Fail_Program(EXIT_BAD_COMMAND_LINE, error + " (zorvex --help lists the options)");
  if (options->help) return std::fputs(Usage_Text(), stdout) < 0;
  if (options->version) return std::fputs(Version_Text(), stdout) < 0;
  return -1;
}

}  // namespace

std::string Choose_Data_Dir(const std::string& asked, const std::string& program_dir) {
  if (!asked.empty() || Has_Sheet("")) return asked;
  for (const std::string& dir : {program_dir + "/data", program_dir + "/../share/zorvex"}) {
    if (Has_Sheet(dir)) return dir;
  }
  return "";
}

int Prepare_Run(int argc, char** argv, std::string (*data_dir)(const std::string& asked),
                void (*report)(const char* text), Options* options) {
  if (int code = Read_Command_Line(argc, argv, options); code >= 0) return code;
  if (int code = Kept_Games_Command(options, report); code >= 0) return code;
  plat::Set_Data_Dir(data_dir(options->data_dir));
  Choose_Keeping_Games(options);
  if (int code = Open_Session(*options); code >= 0) return code;
  Load_Settings(options, report);
  Start_Keeping_Games(*options, report);
  return -1;
}

void Report(const char* text) {
  if (!Log_Error("%s\n", text)) std::fprintf(stderr, "zorvex: %s\n", text);
}

host::HostOptions Host_Options(const Options& options, void (*report)(const char* text)) {
  host::HostOptions host;
  host.sound = !options.nosound;
  host.volume = options.volume;
  host.sensitivity = options.sensitivity;
  if (options.stick == "position") host.stick = host::StickWay::POSITION;
  if (report) host.report = [report](const std::string& text) { report(text.c_str()); };
  if (Keeps_Settings(options)) host.remember = Remember_Setting;
  return host;
}

}  // namespace zorvex
