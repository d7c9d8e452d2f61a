#pragma once

// Reserved factory-test hook; nothing implements it.
class ITestDevice
{
public:
    virtual ~ITestDevice() = default;
};
