#pragma once

#include <atomic>

/** Set once by the update panel from the command line, before any upload starts; read by
    the upload thread when an upload completes. */
extern std::atomic<bool> autoUpdateMode;
