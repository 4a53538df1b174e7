// The program's own line-spectrum files (bil files): parsing and formatting
// over plain arrays, for the main window's bil readers and writers, the tests
// and the tools that read or write the same files.
//
// A bil file is a header line that holds the marker "Orvanix bil-file",
// then one line per spectrum line: x, a TAB, y. A cd.bil or uv.bil without
// the marker is a bare column of values from 150.0 nm on in 0.1-nm steps.
//
// Index conventions (as the store hands out one slot):
// - wavelength grid: a span of MAXLAMBDA - MINLAMBDA + 1 values, element k
//   holding bin MINLAMBDA + k (bin b stands for b / 10 nm);
// - ORD points: spans of ORD point capacity, element k holding point k + 1;
// - IR/VCD line list: two spans (wavenumber, strength), element k = row k.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

class TForm1;

class TextFileLines;

// ---- Header lines ------------------------------------------------------------

// What makes the first line a header.
extern const char* const BilMarker;
// The header lines the main window's writers put first.
extern const char* const CdBilHeaderLength;
extern const char* const CdBilHeaderVelocity;
extern const char* const UvBilHeaderLength;
extern const char* const UvBilHeaderVelocity;
extern const char* const VcdBilHeader;
extern const char* const IrBilHeader;
// The or.bil header is the marker itself.
// The shorter header lines of the bil files the spectra extraction writes
// (its vc.bil header is VcdBilHeader).
extern const char* const ExtractedCdBilHeaderLength;
extern const char* const ExtractedCdBilHeaderVelocity;
extern const char* const ExtractedUvBilHeaderLength;
extern const char* const ExtractedUvBilHeaderVelocity;
extern const char* const ExtractedOrdBilHeader;
extern const char* const ExtractedIrBilHeader;

bool IsBilHeader(const std::string& firstLine);

// ---- Lines -----------------------------------------------------------------

// The x and y texts of a body line: before and after its first TAB, white
// space trimmed at both ends; a line without TAB gives the whole line for
// both.
struct BilFields {
  std::string x;
  std::string y;
};
BilFields SplitBilLine(const std::string& line);

struct BilPoint {
  double x = 0.0;
  double y = 0.0;
};
// Both fields converted strictly: a comma, an empty field or stray text
// raises EConvertError.
BilPoint ParseBilLine(const std::string& line);

// The grid bin of a wavelength in nm: nint(10 x), halves to even (245.25 nm
// gives 2452, 245.75 nm gives 2458); none when it falls outside the grid.
std::optional<long> WavelengthBin(double wavelength);

// ---- Reading -----------------------------------------------------------------

// What one read did: lines stored, and lines the arrays had no room for
// (outside the grid, or beyond the last point or row).
struct BilReadCount {
  int loaded = 0;
  int notLoaded = 0;
};

// The first bin of a headerless cd.bil or uv.bil (150.0 nm).
constexpr long HeaderlessFirstBin = 1500;

// A cd.bil or uv.bil into the wavelength grid, which is cleared first.
// Headed: each line's value is assigned (not added) to the bin of its
// wavelength; a line outside the grid is skipped. Headerless: line 1 goes to
// bin 1500, each further line to the next bin; the read stops after bin
// MAXLAMBDA. A conversion error ends the read with the values stored so far.
BilReadCount ReadWavelengthBil(TextFileLines& file, std::span<double> bins);

// An or.bil into ORD points (wavelength, rotation), which are cleared first:
// line k of the body is point k. Without the marker nothing is read. The
// read stops when the spans are full.
BilReadCount ReadPointBil(TextFileLines& file, std::span<double> wavelengths,
                          std::span<double> rotations);

// A vc.bil or ir.bil into a line list (wavenumber, strength), which is
// cleared first: line k of the body is row k, from row 0. Without the marker
// nothing is read. The read stops when the rows are full.
BilReadCount ReadLineListBil(TextFileLines& file, std::span<double> wavenumbers,
                             std::span<double> strengths);

// The one message for lines a read could not store.
std::string LinesNotLoadedMessage(const std::string& fileName, int count);

// ---- Writing -----------------------------------------------------------------

// Body lines of a cd.bil or uv.bil: every bin whose value is not 0, ascending,
// as F1 of the wavelength, TAB, F6 of the value (negated when `mirrored`).
std::vector<std::string> WavelengthBilLines(std::span<const double> bins, bool mirrored);
// Body lines of an or.bil: points 1 to `count`, F1 / F6 (y negated when
// `mirrored`).
std::vector<std::string> PointBilLines(std::span<const double> wavelengths,
                                       std::span<const double> rotations, int count,
                                       bool mirrored);
// Body lines of a vc.bil or ir.bil: every row whose wavenumber or strength is
// not 0, in row order, F2 / F6 (strength negated when `mirrored`).
std::vector<std::string> LineListBilLines(std::span<const double> wavenumbers,
                                          std::span<const double> strengths, bool mirrored);

// ---- Messages of the writers --------------------------------------------------
// Shared with the xy exports, which refuse in the same words.
extern const char* const NoVcdSpectrumSelectedText;
// The VCD curve the writers take: true, with the mirror choice, when exactly
// one of "normal VCD" and "enantiomeric VCD" is ticked; otherwise shows
// NoVcdSpectrumSelectedText and gives false.
bool ChosenVcdSpectrum(const TForm1& form, bool& mirrored);
extern const char* const NoIrSpectrumSelectedText;
