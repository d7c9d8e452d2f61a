#pragma once

#include <QString>

// The client's compiled-in resources: icons, the style sheet and its
// images. They live in a static library, so the program registers them
// before first use.
class CClientResources
{
public:
    static void Init();
    static QString StyleSheet();
};
