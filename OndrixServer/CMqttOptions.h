#pragma once

#include "SERVER_OPTION.h"

#include <QCoreApplication>
#include <QList>

// The options of the publication to an MQTT broker.
class CMqttOptions
{
    Q_DECLARE_TR_FUNCTIONS(CMqttOptions)

public:
    static constexpr int QUEUE_LIMIT = 100000;

    static QList<SERVER_OPTION> Entries();
};
