#include "diagram/IDiagram.h"

IDiagram::IDiagram()
    : QObject(nullptr)
{
}

IDiagram::~IDiagram() = default;
