#pragma once

// A signal the reference did not have: where it is, how strong, by how
// much it passes the reference and which trace showed it.
struct NEW_SIGNAL
{
    enum Source { Live, MaxHold };

    int point = 0;
    double mhz = 0.0;
    double levelDbm = 0.0;
    double excessDb = 0.0;
    Source source = Live;
};
