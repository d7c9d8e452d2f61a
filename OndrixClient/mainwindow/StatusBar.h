#pragma once

namespace StatusBar {

// How long a passing message in the main window's status bar stays up.
constexpr int MESSAGE_MS = 10000;

} // namespace StatusBar
