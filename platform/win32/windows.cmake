# The Windows program, cross-compiled, on the same layers as the Linux one (CMakeLists.txt):
# real DirectX in place of SDL2. The font and data generators run on the build machine:
# ZORVEX_HOST_BUILD names a native build tree in which they have already run.
set(ZORVEX_HOST_BUILD "" CACHE PATH "Native build tree holding generated/ and data/")
if(NOT EXISTS ${ZORVEX_HOST_BUILD}/generated/zorvex_font.cpp)
  message(FATAL_ERROR "ZORVEX_HOST_BUILD must name a native build tree with the generated font")
endif()
target_sources(zorvex_soft PRIVATE ${ZORVEX_HOST_BUILD}/generated/zorvex_font.cpp)

# The Win32 backend: real Win32, GDI, DirectDraw, DirectSound and DirectInput under the seam.
file(GLOB ZORVEX_WIN32_SOURCES CONFIGURE_DEPENDS platform/win32/*.cpp)
add_library(zorvex_win32 STATIC ${ZORVEX_WIN32_SOURCES})
# The frame pacer is the soft backend's; the host layer is every platform's.
target_link_libraries(zorvex_win32 PUBLIC zorvex_host ddraw dsound dinput dxguid winmm gdi32 user32
                      shell32)

# The program: the Windows entry point and the Win32 (or headless) backend around the game.
add_executable(zorvex app/main_windows.cpp app/entry.cpp app/kept_settings.cpp
               app/kept_games.cpp)
target_link_libraries(zorvex PRIVATE zorvex_game zorvex_win32)
# A program for the desktop: no console window opens beside the game. No link time in the
# header, so that the same sources give the same program.
target_link_options(zorvex PRIVATE -static -mwindows -Wl,--no-insert-timestamp)

# Checks of the Windows backend that run under Wine (tests/windows/wine_check.sh).
include(tests/windows/programs.cmake)
