# The 32-bit Windows build: included by CMakeLists.txt under the cross toolchain.

# No compiler runtime DLL: libgcc and libstdc++ are linked in statically.
# No link time stamp, so equal sources give equal files.
add_link_options(-static -static-libgcc -static-libstdc++ -s -Wl,--no-insert-timestamp)

# ZARO.gau: no C runtime at all, only the two data exports of the .def file.
add_library(zaro SHARED ${GAUGE_SOURCES} module/ZARO.def resources/ZARO.rc)
set_target_properties(zaro PROPERTIES OUTPUT_NAME ZARO PREFIX "" SUFFIX ".gau")
# Doubles in SSE2 scalar registers: the threshold's sums and comparisons are
# then 64-bit whatever x87 precision the host left (a Direct3D 9 program
# leaves 24 bits). Callbacks still return their double on the x87 stack,
# as the calling convention wants. A host built by another compiler
# guarantees only 4-byte stack alignment on entry, so the module assumes
# no more.
set(MODULE_COMPILE_OPTIONS -Os -fno-asynchronous-unwind-tables -msse2 -mfpmath=sse -mincoming-stack-boundary=2)
set(MODULE_LINK_OPTIONS -nostdlib -Wl,--entry=_DllMain@12)
target_compile_options(zaro PRIVATE ${MODULE_COMPILE_OPTIONS})
target_link_options(zaro PRIVATE ${MODULE_LINK_OPTIONS})
target_link_libraries(zaro PRIVATE gcc)
set_source_files_properties(resources/ZARO.rc PROPERTIES
    OBJECT_DEPENDS "${ARTWORK_DIR}/face.bmp;${ARTWORK_DIR}/knob.bmp")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${ARTWORK_DIR}")
enable_language(RC)
enable_language(ASM)  # gauge-host's call thunk

add_subdirectory(common)
add_subdirectory(gauge_host)
add_subdirectory(tests/wine/programs)

add_custom_command(TARGET zaro POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${DIST_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:zaro> ${DIST_DIR}/ZARO.gau)
