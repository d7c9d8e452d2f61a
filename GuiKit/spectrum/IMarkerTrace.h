#pragma once

#include <QColor>
#include <QString>

#include <vector>

// A trace another overlay draws over the spectrum's bars (a reference of a
// site, say) that markers may sit on, past the live bars and the three
// traces of CSpectrumTraces. It must outlive the marker overlay it is given
// to.
class IMarkerTrace
{
public:
    virtual ~IMarkerTrace() = default;

    virtual QString Name() const = 0;
    virtual QColor Colour() const = 0;
    // dBm per point of the present sweep, NaN where the trace has no level;
    // empty while there is no trace.
    virtual const std::vector<double>& Values() const = 0;
    // Whether it is drawn: only traces drawn are offered to a marker.
    virtual bool IsShown() const = 0;
};
