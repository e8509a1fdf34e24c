// Placeholder until the library lands.
#include "platform/inet/Inet.h"
