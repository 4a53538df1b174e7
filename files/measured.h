// Measured spectra (exp.xy files) and HPLC chromatograms (cuv, ccd files):
// parsing over plain arrays, for the main window's seven readers and the
// tests.
//
// An exp.xy file holds one point per line, x, then y, separated by a TAB or
// by ';'. A first line that holds "TITLE" opens a header, which ends with
// the first line holding "XYDATA" (the UV reader: the first 18 lines). The
// last header line (line 1 in a file without header) decides the separator:
// with a ';' in it the separator is ';' and one more line is skipped (two
// when that one holds ";;"). The data end at the first empty line.
//
// A chromatogram's line 1 names the separator ("Time<TAB>Value", "Time;Value"
// or else a comma); every later line of three characters or more is a point.
//
// Index conventions: point p (counted from 1) is element p - 1 of a span;
// a span's size is the slot's capacity.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/files.h"

enum class MeasuredKind { Ecd, Uv, Vcd, Ir };

// Points one slot holds.
constexpr int MeasuredSpectrumCapacity = 10000;
constexpr int MeasuredOrdCapacity = 2500;
constexpr int ChromatogramCapacity = 15000;

// The CD y-axis titles a measured ECD file sets for the gnuplot plots.
extern const char* const MolarCdAxisTitle;  // a header line with "Mol. CD"
extern const char* const MdegCdAxisTitle;   // "CD[mdeg]"

struct MeasuredRead {
  int points = 0;     // points 1..points were stored
  int errors = 0;     // fields that were no number
  bool full = false;  // the slot was full with data lines left: reading stopped
  // A headed file without a line holding "XYDATA": nothing was read.
  bool noDataMarker = false;
  // ECD only: the y1 title the header asks for (the last matching line).
  std::optional<std::string> cdAxisTitle;
};

// An exp.xy file of ECD, UV, VCD or IR into two spans, which are cleared
// first. A field that is no number counts as an error and leaves 0.0 (the UV
// reader drops a line whose x is no number, and silently one whose x lies
// outside 100..4000 nm). Points keep the file's order.
// The file is read line by line and only as far as the spans hold points.
MeasuredRead ReadMeasuredSpectrum(TextFileLines& file, MeasuredKind kind, std::span<double> xs,
                                  std::span<double> ys);

// Measured curves are kept with x descending: reverses points 1..count when
// the last x is greater than the first.
void StoreDescending(std::span<double> xs, std::span<double> ys, int count);

// A measured ORD file (TAB separated, empty lines skipped) into two spans,
// which are cleared first. Numbers are converted strictly: a bad one raises
// EConvertError, naming the file and line, with the points read so far in
// place.
MeasuredRead ReadMeasuredOrd(TextFileLines& file, std::span<double> xs, std::span<double> ys);

// A cuv or ccd file into times and signals, which are cleared first; strict
// conversion as for ORD. `errors` and `noDataMarker` stay unused.
MeasuredRead ReadChromatogram(TextFileLines& file, std::span<double> times,
                              std::span<double> signals);

// The one box after a file with unreadable numbers.
std::string MeasuredErrorsMessage(int count);
// The one box after a file with more points than a slot holds.
std::string MeasuredFullMessage(const std::string& fileName, int capacity);
// The one box after a headed file without its "XYDATA" line.
std::string NoDataMarkerMessage(const std::string& fileName);
// A file that gave no point (every line outside the reader's range, or no
// data line at all).
std::string NoPointReadMessage(const std::string& fileName);
