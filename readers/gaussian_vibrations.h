// The plain reading of a Gaussian 09/16 frequency output into one slot of an
// IR or VCD line list, for the readers of the main window and the benchmarks.
#pragma once

#include <string>

#include "readers/parse.h"
#include "readers/reader_core.h"
#include "store/bounded.h"

// Clears columns 1 and 2 of the slot and fills one row per mode, in file
// order: wavenumber and dipole strength (IR) or rotational strength (VCD).
// True when a strength line was found. What did not fit into the 4001 rows
// is noted. Raises EInOutError when the file cannot be read.
bool ReadGaussianLineList(const std::string& fileName, LineGrid& grid, int slot,
                          readers::LineList list, readers::LoadNotes& notes);
// The same from a parse already made.
bool EnterGaussianLineList(readers::ModeParse parse, LineGrid& grid, int slot,
                           readers::LoadNotes& notes);
// A Gaussian 09 or 16 frequency output whose blocks print neither "Dip.
// str." nor "Rot. str." lines: a plain frequency job, which gives no IR or
// VCD spectrum.
bool IsFrequencyOutputWithoutStrengths(const std::string& fileName);
