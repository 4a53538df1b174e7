#include "store/bounded.h"

void raiseRangeError(const char* what, long index, long low, long high) {
  throw ERangeError("Range check error: " + std::string(what) + " " + std::to_string(index) +
                    " outside " + std::to_string(low) + ".." + std::to_string(high));
}
