// The program's entry in the browser. The page's script passes the command line, then calls for
// frames from its own event loop (the browser must get control back after every frame), so
// WinMain runs in its steps: start-up, one pass of the message loop per call, shutdown.
#include <emscripten/emscripten.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/entry.h"
#include "app/program.h"
#include "platform/soft/soft_os.h"
#include "platform/web/web_host.h"

namespace {

bool running = false;
int exit_code = zorvex::GAME_RUNNING;

// Standard output and error reach the page's script only when flushed.
int Report(int code) {
  running = code == zorvex::GAME_RUNNING;
  exit_code = code;
  std::fflush(stdout);
  std::fflush(stderr);
  return code;
}

void Warn(const char* text) { std::fprintf(stderr, "zorvex: %s\n", text); }
// The host's messages go to the page's console as standard output.
void Say(const char* text) { std::printf("zorvex: %s\n", text); }

// The page puts the game's files in /data unless told otherwise.
std::string Data_Dir(const std::string& asked) { return asked.empty() ? "/data" : asked; }

}  // namespace

extern "C" {

// `args`: the options, one to a line. Returns GAME_RUNNING while the game runs, otherwise the
// exit status.
EMSCRIPTEN_KEEPALIVE int zorvex_start(const char* args) {
  std::vector<std::string> words{"zorvex"};
  std::istringstream lines(args);
  for (std::string word; std::getline(lines, word);) words.push_back(word);
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());

  // The page keeps these folders in the browser's storage (page.js, keep.js).
  setenv("XDG_CONFIG_HOME", "/keep/config", 0);
  setenv("XDG_DATA_HOME", "/keep/data", 0);
  zorvex::Options options;
  if (int code =
          zorvex::Prepare_Run(static_cast<int>(argv.size()), argv.data(), Data_Dir, Warn, &options);
      code >= 0)
    return Report(code);
  std::unique_ptr<plat::soft::Host> host =
      options.headless ? plat::soft::Make_Headless_Host(!options.nosound)
                       : plat::web::Make_Web_Host(zorvex::Host_Options(options, Say));
  return Report(zorvex::Start_Program(plat::soft::Make_Soft_Os(std::move(host))));
}

// What --version prints, for the page to show beside the game.
EMSCRIPTEN_KEEPALIVE const char* zorvex_version() { return zorvex::Version_Text(); }

// Runs up to `passes` passes of the message loop. GAME_RUNNING, or the exit status once the
// game has ended.
EMSCRIPTEN_KEEPALIVE int zorvex_step(int passes) {
  for (int i = 0; running && i < passes; ++i) Report(zorvex::Message_Pass());
  return exit_code;
}
}
