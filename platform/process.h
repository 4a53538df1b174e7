// Child processes: one executable with one argument, never through a shell.
//
// No command line is ever built: the argument reaches the program as one
// argv element exactly as given, blanks, quotes, '$' and ';' included.
#pragma once

#include <string>

// Starts `executable` with `argument` in `workingFolder` and waits until it
// ends; returns its exit code (128 + the signal number when a signal ended
// it). An executable named without a folder is looked up on PATH; a relative
// path counts from the current folder, not from the working folder. An empty
// argument passes no argument; an empty working folder keeps the current one.
// Raises EInOutError when the program cannot be started.
int RunAndWait(const std::string& executable, const std::string& argument,
               const std::string& workingFolder);

// As RunAndWait, and collects what the program writes to its error output
// into `errorOutput`.
int RunAndCapture(const std::string& executable, const std::string& argument,
                  const std::string& workingFolder, std::string& errorOutput);

// As RunAndWait, but returns at once; the program runs on by itself (its end
// is collected in the background).
void StartDetached(const std::string& executable, const std::string& argument,
                   const std::string& workingFolder = "");

// The full path of the executable `name` in the first folder of PATH that
// holds it; "" when none does.
std::string FindOnPath(const std::string& name);

// The gnuplot of a settings folder: "gnuplot" in that folder or, where the
// folder has none, on PATH. A full path, or "" when there is none.
std::string GnuplotExecutable(const std::string& folder);
