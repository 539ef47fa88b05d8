#include "app/program.h"

#include <cstdio>

#include "app/log.h"
#include "app/session.h"
#include "app/shell.h"
#include "app/startup.h"
#include "platform/data_path.h"

namespace zorvex {

namespace {

constexpr int EXIT_BAD_COMMAND_LINE = 2;
constexpr int EXIT_STARTUP_FAILED = 1;

bool Has_Sheet(const std::string& dir) {
  std::FILE* file = std::fopen((dir.empty() ? "gfx.bmp" : dir + "/gfx.bmp").c_str(), "rb");
  if (file) std::fclose(file);
  return file != nullptr;
}

// The working directory first, as the game always did; then the data put beside the program.
std::string Choose_Data_Dir(const std::string& asked, const std::string& program_dir) {
  if (!asked.empty() || Has_Sheet("")) return asked;
  for (const std::string& dir : {program_dir + "/data", program_dir + "/../share/zorvex"}) {
    if (Has_Sheet(dir)) return dir;
  }
  return "";
}

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "zorvex: %s\n", message.c_str());
  return code;
}

}  // namespace

int Run_Program(int argc, const char* const* argv, const Platform& platform) {
  Options options;
  std::string error;
  if (!Parse_Options(argc, argv, &options, &error)) {
    return Fail(EXIT_BAD_COMMAND_LINE, error + " (zorvex --help lists the options)");
  }
  if (options.help) return std::fputs(Usage_Text(), stdout) < 0;
  if (options.version) return std::fputs(Version_Text(), stdout) < 0;

  plat::Set_Data_Dir(Choose_Data_Dir(options.data_dir, platform.program_dir));
  if (!options.log_path.empty() && !Open_Log(options.log_path.c_str())) {
    return Fail(EXIT_BAD_COMMAND_LINE, "--log: cannot write " + options.log_path);
  }
  if (!Begin_Session(options, &error)) return Fail(EXIT_BAD_COMMAND_LINE, error);

  std::unique_ptr<plat::Os> backend = platform.make_os(options);
  if (!backend) return Fail(EXIT_STARTUP_FAILED, "Could not open the display");
  plat::Use_Os(backend.get());

  static int instance_tag;
  int code = WinMain(reinterpret_cast<plat::HINSTANCE>(&instance_tag), nullptr, "", 1);
  if (code == EXIT_STARTUP_FAILED && *Startup_Failure()) Fail(code, Startup_Failure());
  if (!End_Session()) code = Fail(EXIT_STARTUP_FAILED, "could not write the trace or recording");
  Close_Log();
  plat::Use_Os(nullptr);
  return code;
}

}  // namespace zorvex
