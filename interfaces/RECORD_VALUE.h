#pragma once

// One measured value of a record. The driver fills level and threshold;
// param1 and param2 exist for the network text form.
struct RECORD_VALUE
{
    double level = 0.0;     // dBm
    double threshold = 0.0; // dBm
    int param1 = 0;
    int param2 = 0;
};
