#pragma once

#include <QtGlobal>

namespace DiagramDefaults {

// The window a new time diagram opens with; the live timeline and the
// replay keep at least this much in view, and the history compacts what
// lies beyond it.
constexpr quint64 TIME_WINDOW_SECONDS = 600;

} // namespace DiagramDefaults
