#pragma once

#include "app/CErrorText.h"

#include <QString>

#include <exception>
#include <utility>

class CMetaDevice;

// A device reached through a server throws when the network fails or the
// server answers nonsense. The client runs such calls through these, so
// that a failure becomes a result and never ends the program.
class CGuardedCall
{
public:
    // True when fn returned; after a standard exception false, with the
    // exception's text in the user's language in *error.
    template <typename Fn>
    static bool Run(Fn&& fn, QString* error = nullptr)
    {
        try {
            std::forward<Fn>(fn)();
            return true;
        } catch (const std::exception& exception) {
            if (error)
                *error = CErrorText::FromException(exception);
            return false;
        }
    }

    // fn's result, or fallback when it threw.
    template <typename T, typename Fn>
    static T Value(Fn&& fn, T fallback)
    {
        Run([&] { fallback = std::forward<Fn>(fn)(); });
        return fallback;
    }

    // Gives the device back; a server that is gone has nothing to take.
    static void Uninitialize(CMetaDevice* device);
};
