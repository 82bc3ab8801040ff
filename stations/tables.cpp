#include "stations/tables.h"

StationTable StationCalls;
StationTable StationCume;
