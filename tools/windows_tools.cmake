# The tools for players and icon makers on Windows, from the sources of the host tools: each
# a console program with the runtime linked in, system DLLs only, and a version resource.
set(tool_link_options -static -s -mconsole)

# tessivo.exe: check and the front end of preview.
add_executable(tessivo ${TESSIVO_SOURCES} tessivo/preview_setup_windows.cpp process/tool_process_windows.cpp)
target_include_directories(tessivo PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(tessivo PRIVATE raster_wic sim_compositor platform_text)
target_link_options(tessivo PRIVATE ${tool_link_options})
add_program_version_resource(tessivo Tessivo tessivo.exe
                             "Tessivo tools: checks a game folder, previews the radio strip")

# tessivo_preview_<game>.exe: preview's drawing half, the stand-in game that runs the real DLLs.
foreach(game ${GAMES})
  string(TOLOWER ${game} name)
  add_executable(tessivo_preview_${name} ${TESSIVO_PREVIEW_SOURCES} tessivo/preview_plugins_windows.cpp)
  target_compile_definitions(tessivo_preview_${name} PRIVATE GAME_${game} PREVIEW_GAME_NAME="${name}"
    PREVIEW_RELEASE=${tool_release_${game}})
  target_include_directories(tessivo_preview_${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(tessivo_preview_${name} PRIVATE sim_compositor sim standin_plugin_loader)
  link_as_standin_game(tessivo_preview_${name})
  add_program_version_resource(tessivo_preview_${name} Tessivo tessivo_preview_${name}.exe
                               "Tessivo preview: the radio strip drawn in the stand-in game for ${GAME_NAME_${game}}")
  add_dependencies(tessivo tessivo_preview_${name})
endforeach()

# ombrix.exe: icon and load by the real Ombrix.<game>.asi in the stand-in engine, which this
# program carries at the game's addresses as the stand-in game does.
add_executable(ombrix ${OMBRIX_SOURCES} ombrix/library_load_windows.cpp tessivo/pe_image.cpp
  process/tool_process_windows.cpp)
target_include_directories(ombrix PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(ombrix PRIVATE ombrix_load_VC svg_renderer sim platform_text)
link_as_standin_game(ombrix)
add_program_version_resource(ombrix Ombrix ombrix.exe
                             "Ombrix tools: station icons and image loads by the real image library")
