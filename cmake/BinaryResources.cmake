# Turns files into C++ arrays with JUCE's juceaide. Unlike juce_add_binary_data, the generated
# sources depend on the files themselves, so replacing a resource and rebuilding picks it up.
function (brindle_add_binary_resources name)
    cmake_parse_arguments (ARG "" "NAMESPACE" "SOURCES" ${ARGN})
    set (out_dir ${CMAKE_CURRENT_BINARY_DIR}/${name})
    set (list_file ${out_dir}/input_file_list)
    file (MAKE_DIRECTORY ${out_dir})
    string (REPLACE ";" "\n" list_content "${ARG_SOURCES}")
    file (CONFIGURE OUTPUT ${list_file} CONTENT "${list_content}\n")

    # juceaide writes one source per file.
    set (outputs ${out_dir}/${ARG_NAMESPACE}.h)
    list (LENGTH ARG_SOURCES count)
    foreach (index RANGE 1 ${count})
        list (APPEND outputs ${out_dir}/BinaryData${index}.cpp)
    endforeach()
    add_custom_command (OUTPUT ${outputs}
        COMMAND juce::juceaide binarydata ${ARG_NAMESPACE} ${ARG_NAMESPACE}.h ${out_dir} ${list_file}
        DEPENDS ${list_file} ${ARG_SOURCES}
        COMMENT "Embedding ${ARG_SOURCES}"
        VERBATIM)

    set (${name}_SOURCES ${outputs} PARENT_SCOPE)
    set (${name}_INCLUDE_DIR ${out_dir} PARENT_SCOPE)
endfunction()
