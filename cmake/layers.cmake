# The core of the demo as static libraries along its subsystems, lowest
# first; each may use only itself and the ones before it, which the build
# checks whenever one of their files changes:
#   trof_platform  the window-system and sound layers (SDL2 on Linux, Win32
#                  and waveOut on Windows; vorbisfile)
#   trof_formats   file formats and maths: JPEG pictures and their decoding
#                  workers with mipmap chains, .geox meshes, .camera paths,
#                  the spline, load errors (no GL, no SDL)
#   trof_render    the GL services: textures, mesh drawing, the camera
#                  applied, overlay, font, render targets, the catalogue,
#                  the view-volume test
#   trof_show      the scene base and table, music clock, scenes and the
#                  application frame. One library: the scene table holds
#                  the concrete scenes, the scenes read the frame's shared
#                  globals and create_window runs init_gl, so these parts
#                  use each other by design.

# Collects the .cpp and .h files of the given module stems (paths below src/).
function(trof_module_files out_sources out_headers)
  set(sources "")
  set(headers "")
  foreach(stem ${ARGN})
    if(EXISTS ${CMAKE_SOURCE_DIR}/src/${stem}.cpp)
      list(APPEND sources ${CMAKE_SOURCE_DIR}/src/${stem}.cpp)
    endif()
    if(EXISTS ${CMAKE_SOURCE_DIR}/src/${stem}.h)
      list(APPEND headers ${stem}.h)
    endif()
  endforeach()
  set(${out_sources} ${sources} PARENT_SCOPE)
  set(${out_headers} ${headers} PARENT_SCOPE)
endfunction()

# The include check of one library: its own files against the headers it may use.
function(trof_check_layer target allowed forbidden)
  get_target_property(sources ${target} SOURCES)
  set(files ${sources})
  foreach(header ${ARGN})
    list(APPEND files ${CMAKE_SOURCE_DIR}/src/${header})
  endforeach()
  set(layer_file ${CMAKE_BINARY_DIR}/layers/${target}.cmake)
  file(WRITE ${layer_file} "set(LAYER ${target})\nset(FILES \"${files}\")\n"
       "set(ALLOWED \"${allowed}\")\nset(FORBIDDEN \"${forbidden}\")\n")
  set(stamp ${CMAKE_BINARY_DIR}/layers/${target}.checked)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DLAYER_FILE=${layer_file} -DSTAMP=${stamp}
            -P ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake
    DEPENDS ${files} ${layer_file} ${CMAKE_SOURCE_DIR}/cmake/check_layers.cmake
    COMMENT "Checking what ${target} includes"
    VERBATIM)
  add_custom_target(${target}_layer_check DEPENDS ${stamp})
  add_dependencies(${target} ${target}_layer_check)
endfunction()

if(WIN32)
  set(PLATFORM_BACKEND platform/win32_platform platform/win32_sound)
else()
  set(PLATFORM_BACKEND platform/sdl_keymap platform/sdl_platform platform/sdl_sound)
endif()
trof_module_files(PLATFORM_SOURCES PLATFORM_HEADERS
  platform/platform platform/sound platform/sound_common platform/file_names
  ${PLATFORM_BACKEND})
trof_module_files(FORMATS_SOURCES FORMATS_HEADERS
  assets/little_endian assets/load_error assets/jpeg_image assets/mipmap_chain
  assets/texture_decoding assets/qor_geox assets/qor_camera assets/qor_spline)
trof_module_files(RENDER_SOURCES RENDER_HEADERS
  assets/qor_textures assets/qor_geox_draw assets/qor_camera_apply
  assets/scene_globaldata engine/qor_views engine/qor_font engine/render_targets
  engine/view_volume engine/work_steps)

add_library(trof_platform STATIC ${PLATFORM_SOURCES})
target_include_directories(trof_platform PUBLIC ${CMAKE_SOURCE_DIR}/src)
if(WIN32)
  target_link_libraries(trof_platform PUBLIC PkgConfig::VORBIS OpenGL::GL winmm gdi32 user32)
else()
  target_link_libraries(trof_platform PUBLIC PkgConfig::SDL2 PkgConfig::VORBIS)
endif()
trof_check_layer(trof_platform "${PLATFORM_HEADERS}" "^GL/" ${PLATFORM_HEADERS})

add_library(trof_formats STATIC ${FORMATS_SOURCES})
find_package(Threads REQUIRED)
target_link_libraries(trof_formats PUBLIC trof_platform PkgConfig::JPEG Threads::Threads)
trof_check_layer(trof_formats "${PLATFORM_HEADERS};${FORMATS_HEADERS}" "^(GL/|SDL|vorbis/)"
                 ${FORMATS_HEADERS})

add_library(trof_render STATIC ${RENDER_SOURCES})
target_link_libraries(trof_render PUBLIC trof_formats OpenGL::GL ${TROF_GLU})
trof_check_layer(trof_render "${PLATFORM_HEADERS};${FORMATS_HEADERS};${RENDER_HEADERS}"
                 "^(SDL|vorbis/)" ${RENDER_HEADERS})

file(GLOB_RECURSE SHOW_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp)
# The platform folder holds both backends; only one is built, in trof_platform.
list(FILTER SHOW_SOURCES EXCLUDE REGEX "/src/platform/")
list(REMOVE_ITEM SHOW_SOURCES ${FORMATS_SOURCES} ${RENDER_SOURCES} ${CMAKE_SOURCE_DIR}/src/frame/main.cpp)
add_library(trof_show STATIC ${SHOW_SOURCES})
target_link_libraries(trof_show PUBLIC trof_render)
