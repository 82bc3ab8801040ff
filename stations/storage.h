// The station list: loading it and showing it as the calculator's station rows.
#pragma once

void LOADSTATIONS();
void SHOWSTATIONS();
