// Where the service's messages go: the console it was started from, redirected files, or
// nowhere at all when it runs in the background.
#pragma once

#include <string>

namespace service {

// Nothing is printed from now on.
void SilenceOutput();

// The service is a windowed program, so it gets no console of its own. Unless its output is
// redirected, it writes to the console of the program that started it, if there is one.
void UseParentConsole();

// One line on stdout.
void PrintNote(const std::string& text);

// PrintNote, but each text only the first time: a problem that lasts is told once, not at
// every poll.
void PrintNoteOnce(const std::string& text);

// "thermowl-service: " + text, one line on stderr.
void PrintError(const std::string& text);

} // namespace service
