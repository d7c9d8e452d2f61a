#pragma once

#include <QString>

#include <exception>

// The texts of the exceptions the client shows. The device proxy throws
// fixed English texts; the user reads them in the language of the window.
class CErrorText
{
public:
    static constexpr const char* NETWORK_ERROR = "Network error!";

    static QString FromException(const std::exception& error);
};
