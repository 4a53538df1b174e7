// The processor's vector units as the hot numeric loops use them.
//
// The program is built for any x86-64 processor. The broadening loops also
// come built for AVX2 and AVX-512 and are chosen here, once, by what the
// processor offers. ClearUpperVectorState() is called where a hot loop or a
// worker thread starts: the C library's string routines leave the upper halves
// of the vector registers in use on AVX-512 processors, and every plain
// (SSE) floating-point instruction after them then runs many times slower.
#pragma once

enum class VectorWidth { Baseline, Avx2, Avx512 };

// The widest loops the processor can run, cut to the limit set below.
VectorWidth KernelVectorWidth();

// Caps the loops chosen from now on (tests compare the baseline loops with the
// wide ones); VectorWidth::Avx512 lifts the cap.
void LimitKernelVectorWidth(VectorWidth widest);

// The cap set last, VectorWidth::Avx512 when none is set.
VectorWidth KernelVectorWidthLimit();

// Marks the upper halves of the vector registers as unused, on processors
// with AVX; does nothing on others.
void ClearUpperVectorState();
