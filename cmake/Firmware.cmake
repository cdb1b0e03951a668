# The firmware compiled into Brindle. To ship another image, replace the file and set its
# version and release number here; nothing else needs to change.
set (BRINDLE_FIRMWARE_FILE ${CMAKE_SOURCE_DIR}/resources/firmware/lantern_reverb.syx)
set (BRINDLE_FIRMWARE_VERSION "1.1.00")
set (BRINDLE_FIRMWARE_RELEASE 1861)
get_filename_component (BRINDLE_FIRMWARE_FILE_NAME ${BRINDLE_FIRMWARE_FILE} NAME)
