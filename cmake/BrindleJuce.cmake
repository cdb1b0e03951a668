# The JUCE modules Brindle uses, compiled once into objects that become part of brindle_core.
# Debian ships JUCE with an exact-version package config, so name the version in full.
find_package (JUCE 7.0.5 CONFIG REQUIRED)
find_package (PkgConfig REQUIRED)
find_package (Threads REQUIRED)

set (BRINDLE_JUCE_MODULES
     juce_core juce_events juce_data_structures juce_graphics juce_gui_basics
     juce_audio_basics juce_audio_devices)

# Settings every translation unit that includes JUCE must agree on.
add_library (brindle_juce_config INTERFACE)
target_include_directories (brindle_juce_config SYSTEM INTERFACE ${JUCE_MODULES_DIR})
target_compile_definitions (brindle_juce_config INTERFACE
    JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED=1
    JUCE_STANDALONE_APPLICATION=1
    JUCE_DISPLAY_SPLASH_SCREEN=0
    JUCE_REPORT_APP_USAGE=0
    JUCE_WEB_BROWSER=0
    JUCE_USE_CURL=0
    JUCE_MODAL_LOOPS_PERMITTED=1
    JUCE_STRICT_REFCOUNTEDPOINTER=1
    JUCE_USE_XSHM=0
    $<$<PLATFORM_ID:Linux>:JUCE_ALSA=0>
    $<$<PLATFORM_ID:Linux>:JUCE_JACK=0>
    $<IF:$<CONFIG:Debug>,DEBUG=1 _DEBUG=1,NDEBUG=1>)
foreach (module IN LISTS BRINDLE_JUCE_MODULES)
    target_compile_definitions (brindle_juce_config INTERFACE JUCE_MODULE_AVAILABLE_${module}=1)
endforeach()

if (CMAKE_SYSTEM_NAME STREQUAL "Linux")
    # Debian's JUCE uses the system's zlib, libpng and libjpeg instead of bundled copies.
    pkg_check_modules (JUCE_SYSTEM_LIBS REQUIRED IMPORTED_TARGET freetype2 zlib libpng libjpeg)
    target_link_libraries (brindle_juce_config INTERFACE PkgConfig::JUCE_SYSTEM_LIBS Threads::Threads ${CMAKE_DL_LIBS} rt)
endif()

# One wrapper source per module, generated into the build tree.
set (juce_wrapper_dir ${CMAKE_BINARY_DIR}/juce_modules)
set (juce_wrappers)
foreach (module IN LISTS BRINDLE_JUCE_MODULES)
    set (wrapper ${juce_wrapper_dir}/include_${module}.cpp)
    file (CONFIGURE OUTPUT ${wrapper} CONTENT "#include <${module}/${module}.cpp>\n")
    list (APPEND juce_wrappers ${wrapper})
endforeach()

add_library (brindle_juce_objects OBJECT ${juce_wrappers})
target_link_libraries (brindle_juce_objects PUBLIC brindle_juce_config)
target_compile_options (brindle_juce_objects PRIVATE -w)
