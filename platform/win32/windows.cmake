# The Windows program, cross-compiled. The font and data generators run on the build machine:
# ZORVEX_HOST_BUILD names a native build tree in which they have already run.
set(ZORVEX_HOST_BUILD "" CACHE PATH "Native build tree holding generated/ and data/")
if(NOT EXISTS ${ZORVEX_HOST_BUILD}/generated/zorvex_font.cpp)
  message(FATAL_ERROR "ZORVEX_HOST_BUILD must name a native build tree with the generated font")
endif()

file(GLOB ZORVEX_SOFT_SOURCES CONFIGURE_DEPENDS platform/*.cpp platform/soft/*.cpp)
list(FILTER ZORVEX_SOFT_SOURCES EXCLUDE REGEX "linux_main\\.cpp$")
add_library(zorvex_soft STATIC ${ZORVEX_SOFT_SOURCES} ${ZORVEX_HOST_BUILD}/generated/zorvex_font.cpp)
target_include_directories(zorvex_soft PUBLIC ${CMAKE_SOURCE_DIR})

file(GLOB ZORVEX_CORE_SOURCES CONFIGURE_DEPENDS
     app/*.cpp game/*.cpp gfx/*.cpp sound/*.cpp input/*.cpp)
list(FILTER ZORVEX_CORE_SOURCES EXCLUDE REGEX "/main_[a-z]+\\.cpp$")
add_library(zorvex_core STATIC ${ZORVEX_CORE_SOURCES})
target_include_directories(zorvex_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(zorvex_core PUBLIC zorvex_soft)

file(GLOB ZORVEX_WIN32_SOURCES CONFIGURE_DEPENDS platform/win32/*.cpp)
add_executable(zorvex app/main_windows.cpp ${ZORVEX_WIN32_SOURCES})
target_link_libraries(zorvex PRIVATE zorvex_core ddraw dsound dinput dxguid winmm gdi32 user32)
# A program for the desktop: no console window opens beside the game.
target_link_options(zorvex PRIVATE -static -mwindows)
