// The program's entry in the browser. The page's script passes the command line, then calls for
// frames from its own event loop (the browser must get control back after every frame), so
// WinMain runs in its steps: start-up, one pass of the message loop per call, shutdown.
#include <emscripten/emscripten.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/entry.h"
#include "app/shell.h"
#include "platform/soft/soft_os.h"
#include "platform/web/web_host.h"

namespace {

bool running = false;
int exit_code = zorvex::GAME_RUNNING;

// The page puts the game's files in /data unless told otherwise.
std::string Choose_Data_Dir(const std::string& asked) { return asked.empty() ? "/data" : asked; }

int Finish(int code) {
  running = false;
  exit_code = zorvex::Finish_Entry(code);
  std::fflush(stdout);
  std::fflush(stderr);
  return exit_code;
}

}  // namespace

extern "C" {

// `args`: the options, one to a line. Returns GAME_RUNNING while the game runs, otherwise the
// exit status.
EMSCRIPTEN_KEEPALIVE int zorvex_start(const char* args) {
  std::vector<std::string> words{"zorvex"};
  for (const char* p = args; *p;) {
    const char* end = p;
    while (*end && *end != '\n') ++end;
    words.emplace_back(p, end);
    p = *end ? end + 1 : end;
  }
  std::vector<const char*> argv;
  for (const std::string& w : words) argv.push_back(w.c_str());

  zorvex::Options options;
  int code =
      zorvex::Prepare_Entry(static_cast<int>(argv.size()), argv.data(), &options, Choose_Data_Dir);
  if (code == zorvex::GAME_RUNNING) {
    code = zorvex::Open_Backend(options.headless ? plat::soft::Make_Headless_Host(!options.nosound)
                                                 : plat::web::Make_Web_Host(!options.nosound));
  }
  if (code != zorvex::GAME_RUNNING) {
    std::fflush(stdout);
    std::fflush(stderr);
    return exit_code = code;
  }
  code = zorvex::Start_Game(zorvex::Entry_Instance());
  if (code != zorvex::GAME_RUNNING) return Finish(code);
  running = true;
  return exit_code = zorvex::GAME_RUNNING;
}

// Runs up to `passes` passes of the message loop. GAME_RUNNING, or the exit status once the
// game has ended.
EMSCRIPTEN_KEEPALIVE int zorvex_step(int passes) {
  for (int i = 0; running && i < passes; ++i) {
    const int code = zorvex::Message_Pass();
    if (code == zorvex::GAME_RUNNING) continue;
    zorvex::Shutdown_Game();
    return Finish(code);
  }
  return exit_code;
}
}
