// The blank plot: a white picture with a one-pixel black frame, what a plot
// shows before anything is drawn on it.
#pragma once

#include "platform/controls.h"

// Makes the image visible and paints it blank over its whole size, then tells
// the back end that it changed.
void BlankPlot(Image& image);
