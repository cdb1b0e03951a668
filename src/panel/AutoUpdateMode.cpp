#include "panel/AutoUpdateMode.h"

std::atomic<bool> autoUpdateMode { false };
