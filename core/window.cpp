#include "core/window.h"

namespace zorvex {

plat::HWND main_window = nullptr;
plat::HINSTANCE app_instance = nullptr;

}  // namespace zorvex
