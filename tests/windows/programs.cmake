# Windows programs that check the Windows backend, built with the Windows program
# (platform/win32/windows.cmake) and run under Wine by wine_check.sh. Each is a plain program:
# "FAIL: ..." lines and a status that is not 0 say what went wrong.

# The sound adapters over a stand-in DirectSound that loses buffers.
add_executable(zorvex-sound-lost-check tests/windows/sound_lost_check.cpp
                                       platform/win32/win32_dsound.cpp)
target_link_libraries(zorvex-sound-lost-check PRIVATE zorvex_seam winmm)
target_link_options(zorvex-sound-lost-check PRIVATE -static)

# The start-up failure table over the real backend, through the fault layer (startup_faults.sh).
add_executable(zorvex-startup-check tests/windows/startup_check.cpp)
target_link_libraries(zorvex-startup-check PRIVATE zorvex_game zorvex_win32 zorvex_test_double)
target_link_options(zorvex-startup-check PRIVATE -static)

# A stand-in XInput that plays a scripted pad (pad_play.sh). Kept out of the program's folder, so
# that only a check that puts it beside zorvex.exe ever loads it.
add_library(zorvex-xinput-stand-in SHARED tests/windows/xinput_stand_in.cpp)
set_target_properties(zorvex-xinput-stand-in PROPERTIES PREFIX "" OUTPUT_NAME xinput1_4
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/stand-in)
target_link_options(zorvex-xinput-stand-in PRIVATE -static)
