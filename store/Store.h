// The curve slots of every spectrum kind, for the whole run: line spectra,
// bands, measured points, chromatograms, slot states, titles, maxima, scale
// factors and point counts, under the names and index ranges the program's
// documents give them. Allocated once per program (about 12 MB).
#pragma once

#include <string>

#include "platform/canvas.h"
#include "store/bounded.h"
#include "store/constants.h"

using SlotTexts = Bounded1<std::string, 1, 5>;
using SlotReals = Bounded1<double, 1, 5>;
using SlotCounts = Bounded1<int, 1, 5>;
using SlotFlags = Bounded1<bool, 1, 5>;
using OrdTexts = Bounded1<std::string, 1, 2>;

struct Store {
  // Wavelength grid, bins 1000..40000 by slot 1..5.
  Grid2<MINLAMBDA, MAXLAMBDA, 5> ROTS;  // rotatory strengths, 1e-40 esu² cm²
  Grid2<MINLAMBDA, MAXLAMBDA, 5> OSC;   // oscillator strengths
  Grid2<MINLAMBDA, MAXLAMBDA, 5> EPS;   // ECD band, Δε
  Grid2<MINLAMBDA, MAXLAMBDA, 5> ABSG;  // UV band, ε

  // IR/VCD line lists (columns 1, 2) and bands (column 3).
  LineGrid VCD;
  LineGrid IR;

  // Slot states: "false", "calc", "exp"; the empty text until the first reset.
  SlotTexts CDACTIVE, UVACTIVE, VCDACTIVE, IRACTIVE;
  OrdTexts ORDACTIVE;
  SlotTexts CDTITLE, UVTITLE, VCDTITLE, IRTITLE, HPLCTITLE;
  OrdTexts ORDTITLE;
  SlotReals CDMAX, UVMAX, VCDMAX, IRMAX;
  SlotReals CDFACTOR, UVFACTOR, VCDFACTOR, IRFACTOR;
  SlotReals HPLCMAX, HPLCMIN, HPLCFACTOR;
  SlotCounts CDDATAPTS, UVDATAPTS, VCDDATAPTS, IRDATAPTS, HPLCDATAPTS;
  Bounded1<int, 1, 2> ORDDATAPTS;
  SlotFlags HPLC_UV, HPLC_CD;

  // Measured points 1..count, x descending.
  Grid2<1, 10000, 5> EXPCDX, EXPCDY, EXPUVX, EXPUVY, EXPVCDX, EXPVCDY, EXPIRX, EXPIRY;
  // Measured ORD in file order; computed ORD (nm, degrees).
  Grid2<1, 2500, 2> EXPORDX, EXPORDY;
  Grid2<1, 100, 2> ORDCALCX, ORDCALCY;
  // Chromatograms: time in min, signal.
  Grid2<1, 15000, 5> HPLCX, HPLCY;

  // The slot chosen in the load/remove curves window.
  int CURVENO = 0;
  // The mouse selection on a plot.
  TPoint ORIGIN, MOVEPT;
  bool DRAWING = false;
  // Private to the ORD painter.
  Bounded1<double, 1, 2> ORDMAX;
};
