// Clipping of an unscaled copy: a destination rectangle and a source rectangle of the
// same size are cut down together so that both lie inside their bounds.
#pragma once

#include "platform/gdi/WinTypes.h"

// Trims dest and source by the same amounts until dest lies in destBound and source in
// sourceBound. True when something is left to copy.
bool ClipRects(TRect& dest, TRect& source, const TRect& destBound, const TRect& sourceBound);
