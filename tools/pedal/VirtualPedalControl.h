// In-process control of the virtual pedal, for test executables linked with libvirtualpedal.
// Ports are numbered from 1 in listing order; port N is ALSA card N - 1 ("hw:N-1,0,0").

#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// Replaces the configuration with the options the wrapper takes before "--" (e.g. "--port A --port B --rate 3125 --fail-after 1000"); closes nothing that is open but later opens see the new ports; clears captures, counters and the log. 0 on success, -1 on a bad option string.
int virtual_pedal_configure (const char* options);
// Bytes port N (from 1) has put on its wire so far; copies up to max of them into dest (dest may be null to ask only the count). -1 for no such port.
long virtual_pedal_captured (int port, unsigned char* dest, long max);
// How often port N saw the event: "open", "close", "drain", "drop", "error".
int virtual_pedal_count (int port, const char* event);
// The event log, one event a line (e.g. "open 1 output", "write 1 599", "drain 1", "close 1", "error 1 write: Input/output error"); valid until the next call.
const char* virtual_pedal_log (void);
// The verdict text for port N, as in report.txt.
const char* virtual_pedal_verdict (int port);
// Makes bytes readable on port N's input side.
int virtual_pedal_send_to_host (int port, const unsigned char* data, long size);

#ifdef __cplusplus
}
#endif
