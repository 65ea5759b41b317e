// Starts a task's command line as a new process and lets it go.
#pragma once

#include <string>
#include <string_view>

// The command line handed to process creation. A text that is, as a whole,
// the path of an existing file with a blank in it and no quote is quoted,
// so that "C:\Program Files\x.exe" cannot start a "C:\Program.exe" planted
// at the blank. Any other text is returned as typed. The text ends at its
// first zero byte, as a C string would.
std::string commandLineFor(std::string_view command);

// Creates the process with the scheduler's own environment, current
// directory and no inherited handles, shown normally; waits up to 1000 ms
// for it to be idle for input. False when nothing was started (an empty
// text included).
bool launchCommand(std::string_view command);
