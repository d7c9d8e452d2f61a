#pragma once

#include <QtGlobal>

#if defined(GUIKIT_LIBRARY)
#define GUIKIT_EXPORT Q_DECL_EXPORT
#else
#define GUIKIT_EXPORT Q_DECL_IMPORT
#endif
