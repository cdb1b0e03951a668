# Several build trees (release, sanitizers) compile the same JUCE sources: let ccache share them.
find_program (CCACHE_PROGRAM ccache)
if (CCACHE_PROGRAM AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
    set (CMAKE_C_COMPILER_LAUNCHER ${CCACHE_PROGRAM})
    set (CMAKE_CXX_COMPILER_LAUNCHER ${CCACHE_PROGRAM})
endif()
