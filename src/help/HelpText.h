#pragma once

/** The firmware update procedure shown in the help window. */
extern const char* const firmwareUpdateHelpText;
