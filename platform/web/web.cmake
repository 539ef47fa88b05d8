# The browser build (em++): the game and the web host linked into zorvex.js and zorvex.wasm.
# The text font's source and the data come from a native build of the generators, in
# ZORVEX_NATIVE_DIR.
set(ZORVEX_NATIVE_DIR "" CACHE PATH "Native build tree holding generated/ and data/")
if(NOT EXISTS ${ZORVEX_NATIVE_DIR}/generated/zorvex_font.cpp)
  message(FATAL_ERROR "ZORVEX_NATIVE_DIR must be a native build with the generators run")
endif()
target_sources(zorvex_soft PRIVATE ${ZORVEX_NATIVE_DIR}/generated/zorvex_font.cpp)

# The blitter's vector lanes become WebAssembly SIMD (about three times quicker than scalar).
# Every layer links the seam, so they all get it from there.
target_compile_options(zorvex_seam PUBLIC -msimd128)

add_executable(zorvex app/main_web.cpp app/entry.cpp platform/web/web_host.cpp
               app/kept_settings.cpp app/kept_games.cpp)
target_link_libraries(zorvex PRIVATE zorvex_game zorvex_host)
target_link_options(zorvex PRIVATE
  --no-entry -msimd128
  -sMODULARIZE=1 -sEXPORT_NAME=createZorvex
  -sENVIRONMENT=web,node
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864
  -sFORCE_FILESYSTEM=1 -sEXIT_RUNTIME=0 -lidbfs.js
  "-sEXPORTED_RUNTIME_METHODS=['FS','IDBFS','ccall','HEAPU8','HEAP16']")

# The page's sound maker: the build's own generator of the sounds and music, run in a worker, so
# the page makes its 32 MB of WAV files instead of downloading them.
add_executable(zorvex-sounds platform/web/sound_maker.cpp
               tools/assetgen/effects.cpp tools/assetgen/image.cpp tools/assetgen/music.cpp
               tools/assetgen/synth.cpp tools/assetgen/wav.cpp)
target_include_directories(zorvex-sounds PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(zorvex-sounds PRIVATE -ffp-contract=off)
target_link_options(zorvex-sounds PRIVATE
  -sMODULARIZE=1 -sEXPORT_NAME=createZorvexSounds -sENVIRONMENT=worker,node
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=33554432 -sFILESYSTEM=0
  "-sEXPORTED_RUNTIME_METHODS=['HEAPU8','HEAPF32','UTF8ToString']")
