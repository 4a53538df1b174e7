// Fixed arrays with the index ranges the program's data are documented with
// (bins 1000..40000, slots 1..5). An index outside them raises ERangeError;
// memory outside the array is never touched.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/errors.h"

[[noreturn]] void raiseRangeError(const char* what, long index, long low, long high);

template <class T, long Low, long High>
class Bounded1 {
 public:
  static constexpr long low = Low;
  static constexpr long high = High;
  T& operator[](long i) { return data_[offset(i)]; }
  const T& operator[](long i) const { return data_[offset(i)]; }
  void fill(const T& value) { data_.fill(value); }

 private:
  static size_t offset(long i) {
    if (i < Low || i > High) raiseRangeError("index", i, Low, High);
    return static_cast<size_t>(i - Low);
  }
  std::array<T, High - Low + 1> data_{};
};

// A grid by a first index (bin, row or point) and a slot. Each slot's values
// lie together, so a slot can be handed to the plain computations as one span.
template <long Low, long High, long Slots>
class Grid2 {
 public:
  static constexpr long low = Low;
  static constexpr long high = High;
  static constexpr long size = High - Low + 1;
  Grid2() : data_(static_cast<size_t>(size * Slots), 0.0) {}
  double& operator()(long i, long slot) { return data_[offset(i, slot)]; }
  double operator()(long i, long slot) const { return data_[offset(i, slot)]; }
  // The values of one slot, the first index `Low` at position 0.
  double* slotData(long slot) { return &data_[offset(Low, slot)]; }
  const double* slotData(long slot) const { return &data_[offset(Low, slot)]; }
  void clearSlot(long slot) {
    double* values = slotData(slot);
    for (long i = 0; i < size; ++i) values[i] = 0.0;
  }

 private:
  static size_t offset(long i, long slot) {
    if (i < Low || i > High) raiseRangeError("index", i, Low, High);
    if (slot < 1 || slot > Slots) raiseRangeError("slot", slot, 1, Slots);
    return static_cast<size_t>((slot - 1) * size + (i - Low));
  }
  std::vector<double> data_;
};

// The IR and VCD arrays [0..4000][1..3][1..5]: columns 1-2 the line list,
// column 3 the band. Each column of a slot lies together.
class LineGrid {
 public:
  static constexpr long low = 0;
  static constexpr long high = 4000;
  static constexpr long size = high - low + 1;
  LineGrid() : data_(static_cast<size_t>(size * 3 * 5), 0.0) {}
  double& operator()(long row, long column, long slot) { return data_[offset(row, column, slot)]; }
  double operator()(long row, long column, long slot) const {
    return data_[offset(row, column, slot)];
  }
  double* columnData(long column, long slot) { return &data_[offset(0, column, slot)]; }
  const double* columnData(long column, long slot) const { return &data_[offset(0, column, slot)]; }

 private:
  static size_t offset(long row, long column, long slot) {
    if (row < low || row > high) raiseRangeError("row", row, low, high);
    if (column < 1 || column > 3) raiseRangeError("column", column, 1, 3);
    if (slot < 1 || slot > 5) raiseRangeError("slot", slot, 1, 5);
    return static_cast<size_t>(((slot - 1) * 3 + (column - 1)) * size + row);
  }
  std::vector<double> data_;
};
