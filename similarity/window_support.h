// What both similarity windows do around their searches: checking a pair of
// edits, the coverage test of the measured curve, the number texts of memo
// and write-back, and the slots' data as the plain searches take them.
#pragma once

#include <optional>
#include <string>

#include "platform/controls.h"
#include "similarity/kernels.h"
#include "similarity/search.h"
#include "store/Store.h"

// How an edit is read: its fallback test is the same conversion.
enum class EditNumber { Whole, Real };

// What a pair holds. A window range that the order rule closes to one value
// ends the run (a reversed range is a typing slip, not data without signal);
// a band width at or below 0 is refused and ends the run.
enum class PairRole { Steps, Range, Width };

// A pair of edits as a run reads it. `first` is the one that takes the
// other's text when the pair is out of order; each has its own bound. The
// names are the edits as the window labels them ("band width from").
struct EditPair {
  Edit* first;
  const char* firstName;
  const char* firstFallback;
  Edit* second;
  const char* secondName;
  const char* secondFallback;
  EditNumber number;
  double firstBound;            // first is raised (ascending) or lowered (descending) to it
  const char* firstBoundText;
  double secondBound;           // second is lowered (ascending) or raised (descending) to it
  const char* secondBoundText;
  bool ascending;               // first <= second (else first >= second)
  PairRole role = PairRole::Steps;
};

struct PairValues {
  double first = 0;
  double second = 0;
};

// Converts both texts. A comma is read as a decimal point; a text that still
// does not convert becomes its fallback. Then each value is brought within
// its bound, and the first takes the second's text when they are out of
// order, so that a run never reaches past the widest ranges. Every edit so
// changed gets a memo line that names it, the text it held and the value now
// used. Returns the values the texts then hold, or none when the run ends
// here (a band width at or below 0, a range closed by the order rule), after
// the memo line that says why.
std::optional<PairValues> checkPair(const EditPair& pair, Memo* memo);

// The value an edit holds, read with its conversion (the text has passed its
// check).
double editValue(Edit* edit, EditNumber number);

// A number in the general form after rounding to 10 significant digits, so
// that the noise of accumulated steps never shows ("1.05").
std::string similarityNumber(double value);
// Fixed form with 4 decimals.
std::string fixed4(double value);

// Three memo lines: an empty line, the message, an empty line.
void addCoverageLines(Memo* memo, const std::string& message);

// Whether the measured curve misses the window. Wavelength (or IR) form: the
// first point's x rounds below X2 or the last one's above X1. Wavenumber
// form (x in nm, nu = 1e7 / x): the first point's nu rounds above X2 or the
// last one's below X1. A curve without points always misses.
bool missesWavelengths(const MeasuredPoints& points, int X1, int X2);
bool missesWavenumbers(const MeasuredPoints& points, int X1, int X2);

// Whether the measured curve has signal in the window: a measured point lies
// inside it (rangeHoldsPoint), the measured maximum lies above 0, and a point
// inside reaches SIGNAL_FRACTION of the largest |y| of the whole curve (a
// flat tail does not).
bool hasSignal(const MeasuredPoints& points, UvEcdMode form, int X1, int X2, const std::optional<double>& maximum);
// IR/VCD, whose window is X1 < x <= X2 in 1/cm.
bool hasSignal(const MeasuredPoints& points, int X1, int X2, const std::optional<double>& maximum);

// The measured points of slot 2 of a kind.
MeasuredPoints slot2Points(const Grid2<1, 10000, 5>& x, const Grid2<1, 10000, 5>& y, int count);

// The lines that stand for a missing result, kind = "UV", "CD", "IR" or "VCD":
// the measured curve has no signal in the window; or the search or final
// computation gave no value.
std::string noSignalLine(const char* kind);
std::string noValueLine(const char* kind, SearchOutcome outcome);

// Starts the result lines of a final computation with an empty line; when it
// gave no value, writes the line that says so and returns false.
bool finalResultFollows(Memo* memo, const char* kind, SearchOutcome outcome);

// The line in place of the CD (VCD) results when the final UV (IR) result of
// the same run gave no factor: its setting was not written back, so scores
// at it would not be those of the main window.
std::string scoresLeftOutLine(const char* kind, const char* baseKind);
