# BRINDLE_SANITIZER: "" (none), "address" (AddressSanitizer + UBSan) or "thread" (ThreadSanitizer).
set (BRINDLE_SANITIZER "" CACHE STRING "Sanitizer build: address or thread")
set_property (CACHE BRINDLE_SANITIZER PROPERTY STRINGS "" address thread)

if (BRINDLE_SANITIZER STREQUAL "address")
    add_compile_options (-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options (-fsanitize=address,undefined)
elseif (BRINDLE_SANITIZER STREQUAL "thread")
    add_compile_options (-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options (-fsanitize=thread)
elseif (NOT BRINDLE_SANITIZER STREQUAL "")
    message (FATAL_ERROR "Unknown BRINDLE_SANITIZER '${BRINDLE_SANITIZER}'")
endif()
