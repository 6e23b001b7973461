#pragma once
// The command-line tool's exit codes; --help and the manual page list them.

enum class ExitCodeE : int {
    OK = 0,
    USAGE = 1,       // a bad invocation or input file, or an output file that cannot be written
    NO_SENSOR = 2,   // no sensor found, or its port cannot be opened
    REFUSED = 3,     // the sensor refused a write
    DIFFERS = 4,     // read back after a write, the sensor holds other values
    NO_REPLY = 5,    // no reply within the time limit, an unexpected reply, or the line was lost
    OUTPUT_LOST = 6, // standard output closed or cannot be written (a reader such as head gone)
    OWN_RECORD = 7,  // write: the sensor's own active record differs from the profile's; nothing sent
    INTERRUPTED = 8, // write: a termination signal stopped it once the step under way was answered
};
