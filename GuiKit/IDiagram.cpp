#include "IDiagram.h"

IDiagram::IDiagram()
    : QObject(nullptr)
{
}

IDiagram::~IDiagram() = default;
