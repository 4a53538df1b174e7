// The folder the program treats as its own: the executable's folder, or the
// folder a test started the program over.
#pragma once

#include <string>

const std::string& ProgramFolder();
void SetProgramFolder(const std::string& folder);
