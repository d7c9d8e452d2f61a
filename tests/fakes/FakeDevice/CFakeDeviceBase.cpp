#include "CFakeDeviceBase.h"
